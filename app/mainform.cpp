#include "app/mainform.h"
#include "app/aboutform.h"
#include "db/datamodule.h"
#include "framework/dialogs.h"
#include "settings/optionform.h"
#include "settings/settingsstore.h"
#include <QAction>
#include <QCheckBox>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <QStatusBar>
#include <QVBoxLayout>

namespace {

const QColor kCream(255, 251, 240);
const QColor kTeal(0, 128, 128);
const QColor kMaroon(128, 0, 0);

QFont arial(int pixels, bool bold)
{
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

// The counters in the order they are read: field, statement lines.
struct Counter {
    QLineEdit* TMainForm::*field;
    QStringList sql;
};

const std::vector<Counter>& counters()
{
    static const std::vector<Counter> list = {
        {&TMainForm::StatKupci, {QStringLiteral("SELECT COUNT(*) FROM KORISNICI")}},
        {&TMainForm::StatNarudzbe, {QStringLiteral("SELECT COUNT(*) FROM UGOVORI")}},
        {&TMainForm::StatNeplaceno, {QStringLiteral("SELECT COUNT(*) FROM UGOVORI WHERE DATUM_ZAVRSETKA IS NULL")}},
        {&TMainForm::StatUkVozila, {QStringLiteral("SELECT COUNT(*) FROM VOZILA")}},
        // Vehicles out: each vehicle at most once, when it is inactive, or when it is on a
        // contract running today and has a registration valid today.
        {&TMainForm::StatVaniVozila,
         {QStringLiteral("SELECT COUNT(*) FROM VOZILA WHERE VOZILA.AKTIVNO = 'NE' OR ("),
          QStringLiteral("EXISTS (SELECT 1 FROM UGOVORI WHERE UGOVORI.IDVOZILA = VOZILA.IDVOZILA"),
          QStringLiteral("  AND UGOVORI.DATUM_UGOVORA <= 'today'"),
          QStringLiteral("  AND (UGOVORI.DATUM_ZAVRSETKA >= 'today' OR UGOVORI.DATUM_ZAVRSETKA IS NULL))"),
          QStringLiteral("AND EXISTS (SELECT 1 FROM REGOZ WHERE REGOZ.IDVOZILA = VOZILA.IDVOZILA"),
          QStringLiteral("  AND REGOZ.VRIJEDI_OD <= 'today' AND REGOZ.VRIJEDI_DO >= 'today'))")}},
    };
    return list;
}

} // namespace

TMainForm::TMainForm(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainForm"));
    setWindowTitle(QStringLiteral("Evidencija ugovora o najmu vozila"));
    setFont(arial(12, true));

    // banner
    Panel1 = new QLabel;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    Panel1->setAutoFillBackground(true);
    {
        QPalette p = Panel1->palette();
        p.setColor(QPalette::Window, QColor(128, 128, 128));
        p.setColor(QPalette::WindowText, kCream);
        Panel1->setPalette(p);
    }
    Panel1->setFont(arial(20, true));
    Panel1->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(2);
    Panel1->setMidLineWidth(0);
    Panel1->setContentsMargins(4, 4, 4, 4);
    Panel1->setIndent(6);

    // menu bar, fed by the actions
    ActionMainMenuBar1 = new QMenuBar;
    ActionMainMenuBar1->setObjectName(QStringLiteral("ActionMainMenuBar1"));
    {
        QFont f(QStringLiteral("Tahoma"));
        f.setPixelSize(11);
        ActionMainMenuBar1->setFont(f);
        ActionMainMenuBar1->setAutoFillBackground(true);
        QPalette p = ActionMainMenuBar1->palette();
        p.setColor(QPalette::Window, kCream);
        p.setColor(QPalette::Button, kCream);
        ActionMainMenuBar1->setPalette(p);
        ActionMainMenuBar1->setStyleSheet(QStringLiteral("QMenuBar { background-color: rgb(255,251,240); }"));
    }
    auto action = [this](const char* name, const QString& text, const QString& category) {
        auto* a = new QAction(text, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setProperty("category", category);
        return a;
    };
    const QString kor = QStringLiteral("Korisnici"), ugo = QStringLiteral("Ugovori"), voz = QStringLiteral("Vozila"),
                  opr = QStringLiteral("O programu");
    Action1 = action("Action1", QStringLiteral("&Novi korisnik"), kor);
    Action2 = action("Action2", QStringLiteral("&Pregled i pretraživanje"), kor);
    Action4 = action("Action4", QStringLiteral("P&ostavke..."), kor);
    Action3 = action("Action3", QStringLiteral("&Izlazak iz programa"), kor);
    Action5 = action("Action5", QStringLiteral("&Novi ugovor"), ugo);
    Action7 = action("Action7", QStringLiteral("&Dnevno poslovanje"), ugo);
    Action15 = action("Action15", QStringLiteral("&Mjesečno poslovanje"), ugo);
    Action9 = action("Action9", QStringLiteral("&Novo vozilo"), voz);
    Action10 = action("Action10", QStringLiteral("&Pregled vozila"), voz);
    Action13 = action("Action13", QStringLiteral("&Cjenik"), voz);
    Action6 = action("Action6", QStringLiteral("&Boje"), voz);
    Action11 = action("Action11", QStringLiteral("&O programu"), opr);

    QMenu* mKor = ActionMainMenuBar1->addMenu(QStringLiteral("&Korisnici"));
    mKor->setObjectName(QStringLiteral("MenuKorisnici"));
    mKor->addAction(Action1);
    mKor->addAction(Action2);
    mKor->addSeparator();
    mKor->addAction(Action4);
    mKor->addSeparator();
    mKor->addAction(Action3);
    QMenu* mUgo = ActionMainMenuBar1->addMenu(QStringLiteral("&Ugovori"));
    mUgo->setObjectName(QStringLiteral("MenuUgovori"));
    mUgo->addAction(Action5);
    mUgo->addAction(Action7);
    mUgo->addAction(Action15);
    QMenu* mVoz = ActionMainMenuBar1->addMenu(QStringLiteral("&Vozila"));
    mVoz->setObjectName(QStringLiteral("MenuVozila"));
    mVoz->addAction(Action9);
    mVoz->addAction(Action10);
    mVoz->addSeparator();
    mVoz->addAction(Action13);
    mVoz->addAction(Action6);
    QMenu* mOpr = ActionMainMenuBar1->addMenu(QStringLiteral("&O programu"));
    mOpr->setObjectName(QStringLiteral("MenuOProgramu"));
    mOpr->addAction(Action11);

    connect(Action1, &QAction::triggered, this, &TMainForm::Action1Execute);
    connect(Action2, &QAction::triggered, this, &TMainForm::BitBtn3Click);
    connect(Action4, &QAction::triggered, this, &TMainForm::Action4Execute);
    connect(Action3, &QAction::triggered, this, &TMainForm::BitBtn5Click);
    connect(Action5, &QAction::triggered, this, &TMainForm::Action5Execute);
    connect(Action7, &QAction::triggered, this, &TMainForm::BitBtn2Click);
    connect(Action15, &QAction::triggered, this, &TMainForm::Action15Execute);
    connect(Action9, &QAction::triggered, this, &TMainForm::Action9Execute);
    connect(Action10, &QAction::triggered, this, &TMainForm::Action10Execute);
    connect(Action13, &QAction::triggered, this, &TMainForm::Action13Execute);
    connect(Action6, &QAction::triggered, this, &TMainForm::Action6Execute);
    connect(Action11, &QAction::triggered, this, &TMainForm::Action11Execute);

    // buttons and counters
    MenuPanel = new QWidget;
    MenuPanel->setObjectName(QStringLiteral("MenuPanel"));
    auto button = [this](const char* name, const QString& text, const QString& icon, int index) {
        auto* b = new QPushButton(text, MenuPanel);
        b->setObjectName(QString::fromLatin1(name));
        b->setFont(arial(15, true));
        b->setIcon(QIcon(icon));
        b->setIconSize(QSize(24, 24));
        b->setStyleSheet(QStringLiteral("QPushButton { text-align: left; padding-left: 10px; }"));
        b->setGeometry(4, 5 + 38 * index, 195, 37);
        b->setAutoDefault(false);
        return b;
    };
    BitBtn1 = button("BitBtn1", QStringLiteral("Novi ugovor"), QStringLiteral(":/kavor/icons/novi_ugovor.png"), 0);
    BitBtn2 = button("BitBtn2", QStringLiteral("Dnevni pregled"), QStringLiteral(":/kavor/icons/dnevni_pregled.png"), 1);
    BitBtn3 = button("BitBtn3", QStringLiteral("Evidencija korisnika"), QStringLiteral(":/kavor/icons/korisnici.png"), 2);
    BitBtn4 = button("BitBtn4", QStringLiteral("Evidencija vozila"), QStringLiteral(":/kavor/icons/vozila.png"), 3);
    BitBtn5 = button("BitBtn5", QStringLiteral("Izlazak iz programa"), QStringLiteral(":/kavor/icons/izlaz.png"), 4);
    connect(BitBtn1, &QPushButton::clicked, this, &TMainForm::Action5Execute);
    connect(BitBtn2, &QPushButton::clicked, this, &TMainForm::BitBtn2Click);
    connect(BitBtn3, &QPushButton::clicked, this, &TMainForm::BitBtn3Click);
    connect(BitBtn4, &QPushButton::clicked, this, &TMainForm::Action10Execute);
    connect(BitBtn5, &QPushButton::clicked, this, &TMainForm::BitBtn5Click);

    GroupBox1 = new QGroupBox(QStringLiteral("Status evidencije:"), MenuPanel);
    GroupBox1->setObjectName(QStringLiteral("GroupBox1"));
    GroupBox1->setFont(arial(11, true));
    GroupBox1->setGeometry(205, 0, 178, 200);
    auto counter = [this](const char* name, const QString& label, const QColor& colour, int index) {
        auto* l = new QLabel(label, GroupBox1);
        l->setObjectName(QStringLiteral("Label_%1").arg(QString::fromLatin1(name)));
        l->setFont(arial(11, true));
        l->setGeometry(8, 26 + 34 * index, 92, 24);
        l->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* e = new QLineEdit(QStringLiteral("0"), GroupBox1);
        e->setObjectName(QString::fromLatin1(name));
        e->setReadOnly(true);
        e->setFrame(false);
        e->setFocusPolicy(Qt::NoFocus);
        e->setFont(arial(15, true));
        QPalette p = e->palette();
        p.setColor(QPalette::Base, Qt::transparent);   // on the face colour behind it
        p.setColor(QPalette::Text, colour);
        e->setPalette(p);
        e->setGeometry(104, 26 + 34 * index, 68, 24);
        l->setBuddy(e);
        return e;
    };
    StatKupci = counter("StatKupci", QStringLiteral("Broj korisnika:"), kTeal, 0);
    StatNarudzbe = counter("StatNarudzbe", QStringLiteral("Broj ugovora:"), kTeal, 1);
    StatNeplaceno = counter("StatNeplaceno", QStringLiteral("Nedovršeno:"), kTeal, 2);
    StatUkVozila = counter("StatUkVozila", QStringLiteral("Ukupno vozila:"), kMaroon, 3);
    StatVaniVozila = counter("StatVaniVozila", QStringLiteral("U najmu:"), kMaroon, 4);

    StatusBar1 = new QStatusBar;
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusBar1->setFont(arial(11, false));
    StatusBar1->setFixedHeight(19);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(Panel1);
    lay->addWidget(ActionMainMenuBar1);
    lay->addWidget(MenuPanel, 1);
    lay->addWidget(StatusBar1);

    move(kDesignLeft, kDesignTop);
    resize(kDesignClientWidth, kDesignClientHeight);
    updateActions();
}

TMainForm::~TMainForm() = default;

void TMainForm::attach(Opens what, std::function<void()> open)
{
    if (open) opens_[what] = std::move(open);
    else opens_.erase(what);
    updateActions();
}

void TMainForm::attachContracts(std::function<void(const QDate&, const QDate&)> open)
{
    contracts_ = std::move(open);
    updateActions();
}

void TMainForm::updateActions()
{
    auto has = [this](Opens w) { return opens_.count(w) > 0; };
    Action1->setEnabled(has(Opens::NewCustomer));
    Action2->setEnabled(has(Opens::Customers));
    BitBtn3->setEnabled(has(Opens::Customers));
    Action5->setEnabled(has(Opens::NewContract));
    BitBtn1->setEnabled(has(Opens::NewContract));
    Action7->setEnabled(bool(contracts_));
    Action15->setEnabled(bool(contracts_));
    BitBtn2->setEnabled(bool(contracts_));
    Action9->setEnabled(has(Opens::NewVehicle));
    Action10->setEnabled(has(Opens::Vehicles));
    BitBtn4->setEnabled(has(Opens::Vehicles));
    Action13->setEnabled(has(Opens::PriceList));
    Action6->setEnabled(has(Opens::Colours));
}

void TMainForm::run(Opens what)
{
    auto it = opens_.find(what);
    if (it != opens_.end()) it->second();
}

void TMainForm::Action1Execute() { run(Opens::NewCustomer); }
void TMainForm::BitBtn3Click() { run(Opens::Customers); }
void TMainForm::Action5Execute() { run(Opens::NewContract); }
void TMainForm::Action9Execute() { run(Opens::NewVehicle); }
void TMainForm::Action10Execute() { run(Opens::Vehicles); }
void TMainForm::Action13Execute() { run(Opens::PriceList); }
void TMainForm::Action6Execute() { run(Opens::Colours); }

void TMainForm::BitBtn2Click()
{
    if (!contracts_) return;
    const auto [from, to] = dailyRange(QDate::currentDate());
    contracts_(from, to);
}

void TMainForm::Action15Execute()
{
    if (!contracts_) return;
    const auto [from, to] = monthlyRange(QDate::currentDate());
    contracts_(from, to);
}

void TMainForm::Action11Execute()
{
    if (AboutForm) AboutForm->exec();
}

void TMainForm::Action4Execute()
{
    settings::TOptionForm* opt = settings::OptionForm();
    if (!opt) return;
    const int result = opt->exec();
    if (result == QDialog::Accepted && opt->changed()) ConnectDatabase();
    Panel1->setText(opt->MainNaslov->text());
}

void TMainForm::BitBtn5Click()
{
    SaveWindowPosition();
    QCoreApplication::quit();
    close();
}

void TMainForm::closeEvent(QCloseEvent* e)
{
    // Closing is never refused and saves nothing; the process ends with this window.
    e->accept();
    QCoreApplication::quit();
}

void TMainForm::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    if (!e->spontaneous()) FormShow();
}

void TMainForm::changeEvent(QEvent* e)
{
    QWidget::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow()) FormActivate();
}

void TMainForm::FormShow()
{
    settings::TOptionForm* opt = settings::OptionForm();
    if (opt) opt->LoadSettings();
    RestoreWindowPosition();
    ConnectDatabase();
    RefreshStatus();   // a failure is shown by the application and ends the sequence here
    if (opt) {
        Panel1->setText(opt->MainNaslov->text());
        if (opt->StartCheck->isChecked() && startCheck_) startCheck_();
    }
}

void TMainForm::ConnectDatabase()
{
    statusFailed_ = false;
    db::TDataModule1* dm = db::DataModule1();
    settings::TOptionForm* opt = settings::OptionForm();
    try {
        if (!dm || !opt) throw db::DbError(QStringLiteral("Podatkovni modul nije stvoren."));
        if (dm->DB.isOpen()) dm->DB.close();
        db::applyTarget(dm->DB, db::connectionTarget(opt->connectionFields()));
        dm->DB.setLoginHandler([this](const QString& name, QString& user, QString& password) {
            return fw::dialogs().login(name, user, password, this);
        });
        dm->DB.open();
    } catch (...) {
        fw::dialogs().message(QStringLiteral("Greška - baza nije dobro konfigurirana!\nRad nije moguć. Kontaktirajte autora!"),
                              fw::MessageKind::Error, this);
    }
}

void TMainForm::RefreshStatus()
{
    db::TDataModule1* dm = db::DataModule1();
    if (!dm) return;
    try {
        db::Statement& q = dm->IBSQL1;
        db::Transaction& t = dm->IBTransaction1;
        if (!t.isActive()) t.start();
        QStringList values;
        for (const Counter& c : counters()) {
            q.close();
            q.sql() = c.sql;
            q.execQuery();
            values << q.column(0).toString();
        }
        q.close();
        t.commit();
        // the counters change together, or (on a failure) keep their previous texts
        for (size_t i = 0; i < counters().size(); ++i) (this->*counters()[i].field)->setText(values[qsizetype(i)]);
        statusFailed_ = false;
    } catch (...) {
        // Shown once; while the failure lasts (no connection), later activations stay quiet
        // so that the window remains usable for correcting the settings.
        if (statusFailed_) return;
        statusFailed_ = true;
        throw;
    }
}

void TMainForm::SaveWindowPosition()
{
    auto s = settings::userStore();
    s->beginGroup(settings::kPositionKey);
    const QRect r = frameGeometry();
    s->setValue(QStringLiteral("L"), qint32(r.left()));
    s->setValue(QStringLiteral("T"), qint32(r.top()));
    s->setValue(QStringLiteral("H"), qint32(r.height()));
    s->setValue(QStringLiteral("W"), qint32(r.width()));
    s->endGroup();
    settings::flush(*s);   // a store that cannot be written keeps the old position
}

void TMainForm::RestoreWindowPosition()
{
    auto s = settings::userStore();
    s->beginGroup(settings::kPositionKey);
    if (s->childKeys().isEmpty()) return;   // first start: the design position and size
    const QSize frame = frameGeometry().size() - size();   // known once the window has a frame
    auto read = [&](const QString& key, int design) {
        const QVariant v = s->value(key);
        bool ok = false;
        const int x = v.toInt(&ok);
        return v.isValid() && ok ? x : design;
    };
    int left = read(QStringLiteral("L"), kDesignLeft);
    if (left < 0) left = 0;
    int top = read(QStringLiteral("T"), kDesignTop);
    if (top < 0) top = 0;
    const int width = read(QStringLiteral("W"), kDesignClientWidth + frame.width());
    const int height = read(QStringLiteral("H"), kDesignClientHeight + frame.height());
    s->endGroup();

    // Kept on a visible screen: the window's top strip (where its title bar is) must lie
    // on some screen, else the window is moved onto the primary screen.
    const QRect titleStrip(left, top, qMax(width, 1), 24);
    bool visible = false;
    for (QScreen* sc : QGuiApplication::screens()) {
        const QRect common = sc->availableGeometry().intersected(titleStrip);
        if (common.width() >= 40 && common.height() >= 10) visible = true;
    }
    if (!visible) {
        if (QScreen* sc = QGuiApplication::primaryScreen()) {
            const QRect a = sc->availableGeometry();
            left = qMax(a.left(), qMin(left, a.right() + 1 - width));
            top = qMax(a.top(), qMin(top, a.bottom() + 1 - height));
        }
    }
    move(left, top);
    resize(qMax(1, width - frame.width()), qMax(1, height - frame.height()));
    // Under a window manager the frame is often known only after the window is mapped; the
    // stored outer size is applied again then, so that the window does not grow by its frame
    // at every start.
    pendingOuterSize_ = frame.isNull() ? QSize(width, height) : QSize();
}

void TMainForm::applyPendingOuterSize()
{
    if (!pendingOuterSize_.isValid()) return;
    const QSize frame = frameGeometry().size() - size();
    if (frame.isNull()) return;
    const QSize outer = pendingOuterSize_;
    pendingOuterSize_ = QSize();
    resize(qMax(1, outer.width() - frame.width()), qMax(1, outer.height() - frame.height()));
}

void TMainForm::moveEvent(QMoveEvent* e)
{
    QWidget::moveEvent(e);
    applyPendingOuterSize();
}

void TMainForm::resizeEvent(QResizeEvent* e)
{
    QWidget::resizeEvent(e);
    applyPendingOuterSize();
}
