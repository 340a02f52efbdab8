#include "settings/optionform.h"
#include "framework/dialogs.h"
#include "settings/settingsstore.h"
#include <QCheckBox>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace settings {

static TOptionForm* g_instance = nullptr;

static TOptionForm::PrinterSource& printerSource()
{
    static TOptionForm::PrinterSource source = [] { return QPrinterInfo::availablePrinterNames(); };
    return source;
}

void TOptionForm::setPrinterSource(PrinterSource source)
{
    printerSource() = source ? std::move(source) : PrinterSource([] { return QPrinterInfo::availablePrinterNames(); });
}

TOptionForm* TOptionForm::instance() { return g_instance; }

static const QString kDatabaseFilter = QStringLiteral("Interbase baza podataka|*.gdb|Firebird baza podataka|*.fdb");
static const QString kPictureFilter = QStringLiteral(
    "All (*.pcx;*.gif;*.ani;*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf)|*.jpg;*.jpeg;*.bmp;*.ico;*.emf;*.wmf|"
    "JPEG Image File (*.jpg)|*.jpg|JPEG Image File (*.jpeg)|*.jpeg|Bitmaps (*.bmp)|*.bmp|Icons (*.ico)|*.ico|"
    "Enhanced Metafiles (*.emf)|*.emf|Metafiles (*.wmf)|*.wmf");

template <class W>
static W* named(W* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

static QLineEdit* flatEdit(const char* name)
{
    auto* e = named(new QLineEdit, name);
    return e;
}

TOptionForm::TOptionForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("OptionForm"));
    setWindowTitle(QStringLiteral("Postavke sustava"));
    QFont f(QStringLiteral("MS Sans Serif"));
    f.setPixelSize(11);
    setFont(f);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(241, 239, 226));
    setPalette(pal);
    setAutoFillBackground(true);
    setFixedSize(450, 369);

    PageControl1 = named(new QTabWidget, "PageControl1");

    // --- Podaci o tvrtki
    auto* page1 = named(new QWidget, "TabSheet1");
    auto* g1 = new QGridLayout(page1);
    g1->setVerticalSpacing(5);
    int row = 0;
    auto addRow = [&](const QString& label, QWidget* w, QWidget* extra = nullptr) {
        auto* l = new QLabel(label);
        l->setBuddy(w);
        g1->addWidget(l, row, 0);
        if (extra) {
            g1->addWidget(w, row, 1);
            g1->addWidget(extra, row, 2);
        } else {
            g1->addWidget(w, row, 1, 1, 2);
        }
        ++row;
    };
    TvNaziv = flatEdit("TvNaziv");
    TvAdresa = flatEdit("TvAdresa");
    Sjediste = flatEdit("Sjediste");
    TVKontakt = flatEdit("TVKontakt");
    TvZiro = flatEdit("TvZiro");
    TvMBR = flatEdit("TvMBR");
    TvMBR->setMaxLength(13);
    Logo = flatEdit("Logo");
    {
        QPalette p = Logo->palette();
        p.setColor(QPalette::Base, QColor(255, 251, 240));   // cream
        Logo->setPalette(p);
    }
    BitBtn1 = named(new QPushButton(QStringLiteral("...")), "BitBtn1");
    BitBtn1->setFixedWidth(28);
    MainNaslov = flatEdit("MainNaslov");
    {
        QPalette p = MainNaslov->palette();
        p.setColor(QPalette::Base, p.color(QPalette::ToolTipBase));
        MainNaslov->setPalette(p);
    }
    StartCheck = named(new QCheckBox(QStringLiteral("Provjera registracija, osiguranja i servisa prilikom pokretanja programa")), "StartCheck");
    addRow(QStringLiteral("Naziv tvrtke:"), TvNaziv);
    addRow(QStringLiteral("Adresa:"), TvAdresa);
    addRow(QStringLiteral("Sjedište:"), Sjediste);
    addRow(QStringLiteral("Kontakt:"), TVKontakt);
    addRow(QStringLiteral("Žiro-račun:"), TvZiro);
    addRow(QStringLiteral("MBR:"), TvMBR);
    addRow(QStringLiteral("Logotip:"), Logo, BitBtn1);
    addRow(QStringLiteral("Naslov glavnog prozora:"), MainNaslov);
    g1->addWidget(StartCheck, row++, 0, 1, 3);
    g1->setRowStretch(row, 1);
    g1->setColumnStretch(1, 1);

    // --- Ispis na pisač
    auto* page2 = named(new QWidget, "TabSheet2");
    auto* v2 = new QVBoxLayout(page2);
    auto* grpUgovori = named(new QGroupBox(QStringLiteral("Ugovori:")), "GroupBox2");
    auto* g2 = new QGridLayout(grpUgovori);
    EVPrinter = named(new QComboBox, "EVPrinter");
    EVPrinter->setEditable(false);
    auto* lPisac = new QLabel(QStringLiteral("Ispisuj na:"));
    lPisac->setBuddy(EVPrinter);
    ShowBeforeEvIspis = named(new QCheckBox(QStringLiteral("Prikaži prije ispisa")), "ShowBeforeEvIspis");
    g2->addWidget(lPisac, 0, 0);
    g2->addWidget(EVPrinter, 0, 1);
    g2->addWidget(ShowBeforeEvIspis, 1, 1);
    g2->setColumnStretch(1, 1);
    v2->addWidget(grpUgovori);
    v2->addStretch(1);

    // --- Pristup bazi
    auto* page3 = named(new QWidget, "TabSheet3");
    auto* v3 = new QVBoxLayout(page3);
    auto* grpBaza = named(new QGroupBox(QStringLiteral("Pristup bazi: ")), "GroupBox1");
    auto* g3 = new QGridLayout(grpBaza);
    g3->setVerticalSpacing(6);
    Server = flatEdit("Server");
    Lokal = named(new QCheckBox(QStringLiteral("Lokalno")), "Lokal");
    Edit1 = flatEdit("Edit1");
    Button27 = named(new QPushButton(QStringLiteral("...")), "Button27");
    Button27->setFixedWidth(28);
    Edit2 = flatEdit("Edit2");
    CheckBox1 = named(new QCheckBox(QStringLiteral("Upit prilikom spajanja")), "CheckBox1");
    MaskEdit1 = flatEdit("MaskEdit1");
    MaskEdit1->setEchoMode(QLineEdit::Password);
    DBPromjenaStatus = named(new QLabel, "DBPromjenaStatus");
    ListBox1 = named(new QListWidget, "ListBox1");
    ListBox1->setVisible(false);
    Button2 = named(new QPushButton(QStringLiteral("Provjeri")), "Button2");
    Button3 = named(new QPushButton(QStringLiteral("Zapamti")), "Button3");
    auto* lServer = new QLabel(QStringLiteral("Poslužitelj:"));
    lServer->setBuddy(Server);
    auto* lBaza = new QLabel(QStringLiteral("Baza:"));
    lBaza->setBuddy(Edit1);
    LKorisnik = named(new QLabel(QStringLiteral("Korisnik:")), "LKorisnik");
    LKorisnik->setBuddy(Edit2);
    LLozinka = named(new QLabel(QStringLiteral("Lozinka:")), "LLozinka");
    LLozinka->setBuddy(MaskEdit1);
    auto* baza = new QHBoxLayout;
    baza->setSpacing(2);
    baza->addWidget(Edit1, 1);
    baza->addWidget(Button27);
    g3->addWidget(lServer, 0, 0);
    g3->addWidget(Server, 0, 1);
    g3->addWidget(Lokal, 0, 2);
    g3->addWidget(lBaza, 1, 0);
    g3->addLayout(baza, 1, 1, 1, 2);
    g3->addWidget(LKorisnik, 2, 0);
    g3->addWidget(Edit2, 2, 1);
    g3->addWidget(CheckBox1, 2, 2);
    g3->addWidget(LLozinka, 3, 0);
    g3->addWidget(MaskEdit1, 3, 1);
    g3->addWidget(DBPromjenaStatus, 3, 2);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(ListBox1, 1);
    auto* testButtons = new QVBoxLayout;
    testButtons->addStretch(1);
    testButtons->addWidget(Button2);
    testButtons->addWidget(Button3);
    bottom->addStretch(0);   // takes the room while the list is hidden
    bottom->addLayout(testButtons);
    g3->addLayout(bottom, 4, 0, 1, 3);
    g3->setRowStretch(4, 1);
    g3->setColumnStretch(1, 1);
    v3->addWidget(grpBaza, 1);

    // Two further pages that nobody shows or reads.
    auto* page4 = named(new QWidget, "TabSheet4");
    auto* page5 = named(new QWidget, "TabSheet5");

    PageControl1->addTab(page1, QStringLiteral("Podaci o tvrtki"));
    PageControl1->addTab(page2, QStringLiteral("Ispis na pisač"));
    PageControl1->addTab(page3, QStringLiteral("Pristup bazi"));
    PageControl1->addTab(page4, QStringLiteral("Ispis izvještaja"));
    PageControl1->addTab(page5, QStringLiteral("Naljepnice"));
    PageControl1->setTabVisible(3, false);
    PageControl1->setTabVisible(4, false);
    PageControl1->setCurrentIndex(0);

    // --- bottom strip
    auto* strip = named(new QFrame, "Panel1");
    strip->setAutoFillBackground(true);
    {
        QPalette p = strip->palette();
        p.setColor(QPalette::Window, QColor(192, 192, 192));
        strip->setPalette(p);
    }
    strip->setFixedHeight(40);
    auto* hs = new QHBoxLayout(strip);
    hs->setContentsMargins(8, 6, 8, 6);
    Button7 = named(new QPushButton(QStringLiteral("Otkaži")), "Button7");
    Button1 = named(new QPushButton(QStringLiteral("Snimi promjene")), "Button1");
    QFont bold = font();
    bold.setBold(true);
    Button7->setFont(bold);
    Button1->setFont(bold);
    Button7->setAutoDefault(false);
    Button1->setAutoDefault(false);
    Button7->setMinimumWidth(100);
    Button1->setMinimumWidth(110);
    hs->addWidget(Button7);
    hs->addStretch(1);
    hs->addWidget(Button1);

    auto* main = new QVBoxLayout(this);
    main->setContentsMargins(0, 4, 0, 0);
    main->setSpacing(4);
    auto* pages = new QVBoxLayout;
    pages->setContentsMargins(4, 0, 4, 0);
    pages->addWidget(PageControl1);
    main->addLayout(pages, 1);
    main->addWidget(strip);

    // tab orders
    setTabOrder(TvNaziv, TvAdresa);
    setTabOrder(TvAdresa, Sjediste);
    setTabOrder(Sjediste, TVKontakt);
    setTabOrder(TVKontakt, TvZiro);
    setTabOrder(TvZiro, TvMBR);
    setTabOrder(TvMBR, Logo);
    setTabOrder(Logo, BitBtn1);
    setTabOrder(BitBtn1, MainNaslov);
    setTabOrder(MainNaslov, StartCheck);
    setTabOrder(EVPrinter, ShowBeforeEvIspis);
    setTabOrder(Server, Lokal);
    setTabOrder(Lokal, Edit1);
    setTabOrder(Edit1, Button27);
    setTabOrder(Button27, Edit2);
    setTabOrder(Edit2, CheckBox1);
    setTabOrder(CheckBox1, MaskEdit1);
    setTabOrder(MaskEdit1, ListBox1);
    setTabOrder(ListBox1, Button2);
    setTabOrder(Button2, Button3);

    // events
    for (QLineEdit* e : {Server, Edit1, Edit2, MaskEdit1}) {
        connect(e, &QLineEdit::textChanged, this, &TOptionForm::ConnectionFieldChange);
        e->installEventFilter(this);
    }
    connect(Lokal, &QCheckBox::clicked, this, &TOptionForm::LokalClick);
    connect(CheckBox1, &QCheckBox::clicked, this, &TOptionForm::CheckBox1Click);
    connect(Button27, &QPushButton::clicked, this, &TOptionForm::Button27Click);
    connect(BitBtn1, &QPushButton::clicked, this, &TOptionForm::BitBtn1Click);
    connect(Button2, &QPushButton::clicked, this, &TOptionForm::Button2Click);
    connect(Button3, &QPushButton::clicked, this, &TOptionForm::Button3Click);
    connect(Button1, &QPushButton::clicked, this, &TOptionForm::Button1Click);
    connect(Button7, &QPushButton::clicked, this, &QDialog::reject);

    g_instance = this;

    // creation: built-in connection defaults, the stored settings, the printers, the print setup
    Edit1->setText(defaultDatabasePath());
    Edit2->setText(kDefaultUser);
    MaskEdit1->setText(kDefaultPassword);
    Lokal->setChecked(true);
    Server->clear();
    CheckBox1->setChecked(false);
    LoadSettings();
    fillPrinters();
    LoadPrintSetup();
}

TOptionForm::~TOptionForm()
{
    if (g_instance == this) g_instance = nullptr;
}

static QString textValue(const QVariant& v)
{
    if (v.typeId() == QMetaType::QStringList) return v.toStringList().join(QStringLiteral(", "));
    return v.toString();
}

void TOptionForm::LoadSettings()
{
    auto s = machineStore();
    s->beginGroup(kMainKey);
    auto text = [&](const QString& key, QLineEdit* e, const QString& def) {
        e->setText(s->contains(key) ? textValue(s->value(key)) : def);
    };
    text(QStringLiteral("DB"), Edit1, defaultDatabasePath());
    text(QStringLiteral("USER"), Edit2, kDefaultUser);
    if (s->contains(QStringLiteral("USER2")))
        MaskEdit1->setText(ScramblePassword(decodeStoredPassword(textValue(s->value(QStringLiteral("USER2"))))));
    else
        MaskEdit1->setText(kDefaultPassword);
    text(QStringLiteral("Tvrtka"), TvNaziv, kDefaultCompany);
    text(QStringLiteral("TAdresa"), TvAdresa, kDefaultAddress);
    text(QStringLiteral("TSjediste"), Sjediste, kDefaultTown);
    text(QStringLiteral("TKontakt"), TVKontakt, kDefaultContact);
    text(QStringLiteral("TZiro"), TvZiro, QString());
    text(QStringLiteral("TMBR"), TvMBR, QString());
    text(QStringLiteral("LogoPrint"), Logo, defaultLogoPath());
    CheckBox1->setChecked(s->contains(QStringLiteral("Prompt")) && s->value(QStringLiteral("Prompt")).toInt() == 1);
    CheckBox1Click();
    Lokal->setChecked(!s->contains(QStringLiteral("Local")) || s->value(QStringLiteral("Local")).toInt() == 1);
    LokalClick();
    text(QStringLiteral("Server"), Server, QString());
    text(QStringLiteral("MainNaslov"), MainNaslov, kDefaultCompany);
    StartCheck->setChecked(s->contains(QStringLiteral("StartCheck")) && s->value(QStringLiteral("StartCheck")).toInt() != 0);
    s->endGroup();
}

void TOptionForm::SaveSettings()
{
    auto s = machineStore();
    s->beginGroup(kMainKey);
    s->setValue(QStringLiteral("DB"), Edit1->text());
    s->setValue(QStringLiteral("USER"), Edit2->text());
    s->setValue(QStringLiteral("Server"), Server->text());
    s->setValue(QStringLiteral("USER2"), encodeStoredPassword(ScramblePassword(MaskEdit1->text())));
    s->setValue(QStringLiteral("Tvrtka"), TvNaziv->text());
    s->setValue(QStringLiteral("TAdresa"), TvAdresa->text());
    s->setValue(QStringLiteral("TSjediste"), Sjediste->text());
    s->setValue(QStringLiteral("TKontakt"), TVKontakt->text());
    s->setValue(QStringLiteral("TZiro"), TvZiro->text());
    s->setValue(QStringLiteral("TMBR"), TvMBR->text());
    s->setValue(QStringLiteral("LogoPrint"), Logo->text());
    s->setValue(QStringLiteral("MainNaslov"), MainNaslov->text());
    s->setValue(QStringLiteral("StartCheck"), StartCheck->isChecked() ? 1 : 0);
    s->setValue(QStringLiteral("Prompt"), CheckBox1->isChecked() ? 1 : 0);
    s->setValue(QStringLiteral("Local"), Lokal->isChecked() ? 1 : 0);
    s->endGroup();
    if (!flush(*s)) storeFailed();
}

void TOptionForm::LoadPrintSetup()
{
    auto s = machineStore();
    s->beginGroup(kPrintSetupKey);
    const QStringList keys = s->childKeys();
    if (keys.isEmpty()) return;   // no print setup stored: nothing selected
    if (s->contains(QStringLiteral("EVPisac")))
        EVPrinter->setCurrentIndex(EVPrinter->findText(textValue(s->value(QStringLiteral("EVPisac"))), Qt::MatchExactly | Qt::MatchCaseSensitive));
    else if (EVPrinter->count() > 0)
        EVPrinter->setCurrentIndex(0);
    ShowBeforeEvIspis->setChecked(s->contains(QStringLiteral("EVShowBefore")) && s->value(QStringLiteral("EVShowBefore")).toInt() != 0);
}

void TOptionForm::SavePrintSetup()
{
    auto s = machineStore();
    s->beginGroup(kPrintSetupKey);
    s->setValue(QStringLiteral("EVPisac"), EVPrinter->currentIndex() >= 0 ? EVPrinter->currentText() : QString());
    s->setValue(QStringLiteral("EVShowBefore"), ShowBeforeEvIspis->isChecked() ? 1 : 0);
    s->endGroup();
    if (!flush(*s)) storeFailed();
}

void TOptionForm::storeFailed()
{
    if (savePending_) {
        storeFailed_ = true;
        return;
    }
    fw::dialogs().warning(QStringLiteral("Postavke nisu spremljene: nema prava pisanja u postavke sustava (%1).\n"
                                         "Upisane postavke vrijede do izlaska iz programa.")
                              .arg(machineStore()->fileName()),
                          this);
}

void TOptionForm::fillPrinters()
{
    EVPrinter->clear();
    EVPrinter->addItems(printerSource()());
    EVPrinter->setCurrentIndex(-1);
}

db::ConnectionFields TOptionForm::connectionFields() const
{
    db::ConnectionFields f;
    f.server = Server->text();
    f.path = Edit1->text();
    f.local = Lokal->isChecked();
    f.loginPrompt = CheckBox1->isChecked();
    f.user = Edit2->text();
    f.password = MaskEdit1->text();
    return f;
}

bool TOptionForm::changed() const { return DBPromjenaStatus->text() == QLatin1String("*"); }

void TOptionForm::ConnectionFieldChange() { DBPromjenaStatus->setText(QStringLiteral("*")); }

void TOptionForm::LokalClick() { Server->setEnabled(!Lokal->isChecked()); }

void TOptionForm::CheckBox1Click()
{
    const bool on = !CheckBox1->isChecked();
    Edit2->setEnabled(on);
    MaskEdit1->setEnabled(on);
    LKorisnik->setEnabled(on);
    LLozinka->setEnabled(on);
}

void TOptionForm::Button27Click()
{
    const QString path = fw::dialogs().openFileAt(QStringLiteral("Odredite bazu"), kDatabaseFilter, 1, Edit1->text(), this);
    if (!path.isEmpty()) Edit1->setText(QFileInfo(path).absoluteFilePath());
}

void TOptionForm::BitBtn1Click()
{
    const QString path = fw::dialogs().openPicture(QStringLiteral("Odaberite logotip"), kPictureFilter, Logo->text(), this);
    if (!path.isEmpty()) Logo->setText(QFileInfo(path).absoluteFilePath());
}

void TOptionForm::Button2Click()
{
    // The test runs on a connection of its own; the shared one is never touched.
    db::Connection test;
    try {
        db::applyTarget(test, db::connectionTarget(connectionFields()));
        test.setLoginHandler([this](const QString& name, QString& user, QString& password) {
            return fw::dialogs().login(name, user, password, this);
        });
        test.open();
        QStringList tables = test.tableNames();
        for (QString& t : tables) t = t.trimmed();
        tables.sort();
        ListBox1->clear();
        ListBox1->addItems(tables);
        ListBox1->setVisible(true);
        fw::dialogs().information(QStringLiteral("Postavke su u redu - spajanje je uspjelo!"), this);
        test.close();
    } catch (...) {
        fw::dialogs().message(QStringLiteral("Pogreška prilikom spajanja na poslužitelj i bazu podataka!"), fw::MessageKind::Error, this);
        try { test.close(); } catch (...) {}
    }
}

void TOptionForm::Button3Click()
{
    auto s = machineStore();
    s->beginGroup(kMainKey);
    s->setValue(QStringLiteral("DB"), Edit1->text());
    s->setValue(QStringLiteral("USER"), Edit2->text());
    s->setValue(QStringLiteral("USER2"), encodeStoredPassword(ScramblePassword(MaskEdit1->text())));
    s->setValue(QStringLiteral("Prompt"), CheckBox1->isChecked() ? 1 : 0);
    s->setValue(QStringLiteral("Local"), Lokal->isChecked() ? 1 : 0);
    s->setValue(QStringLiteral("Server"), Server->text());
    s->endGroup();
    const bool ok = flush(*s);
    ListBox1->setVisible(false);
    if (!ok) storeFailed();
}

void TOptionForm::Button1Click()
{
    // Stores and closes with "OK"; the close itself writes the settings (see done()).
    accept();
}

void TOptionForm::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    fillPrinters();
    DBPromjenaStatus->clear();
    LoadPrintSetup();
}

bool TOptionForm::eventFilter(QObject* watched, QEvent* e)
{
    if (e->type() == QEvent::FocusIn || e->type() == QEvent::FocusOut) {
        if (auto* edit = qobject_cast<QLineEdit*>(watched)) {
            QPalette p = edit->palette();
            p.setColor(QPalette::Base, e->type() == QEvent::FocusIn ? palette().color(QPalette::Midlight)
                                                                     : QApplication::palette().color(QPalette::Base));
            edit->setPalette(p);
        }
    }
    return QDialog::eventFilter(watched, e);
}

void TOptionForm::done(int result)
{
    // Every close stores, whatever closed the dialog; one warning when the store refuses.
    savePending_ = true;
    storeFailed_ = false;
    SaveSettings();
    SavePrintSetup();
    savePending_ = false;
    if (storeFailed_) {
        storeFailed_ = false;
        storeFailed();
    }
    QDialog::done(result);
}

} // namespace settings
