#include "customers/korisnikunos.h"
#include "customers/decimaledit.h"
#include "framework/dialogs.h"
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleFactory>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace customers {

namespace {

TFKorisnikUnos* g_instance = nullptr;

const QString kDa = QStringLiteral("DA");
const QString kNe = QStringLiteral("NE");

QLineEdit* lineEdit(const char* name, QWidget* parent)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    return e;
}

QPlainTextEdit* memo(const char* name, QWidget* parent, bool verticalScrollBar = false)
{
    auto* m = new QPlainTextEdit(parent);
    m->setObjectName(QLatin1String(name));
    m->setFixedSize(232, 83);
    m->setTabChangesFocus(true);   // Tab moves on; Enter starts a new line
    m->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m->setVerticalScrollBarPolicy(verticalScrollBar ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAsNeeded);
    m->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return m;
}

QLabel* label(const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    return l;
}

// Page tabs with less room beside their captions, so that the three captions and
// "Kontinuirani unos" share the top edge of the 431-pixel dialog without overlapping.
class CompactTabStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        const int v = QProxyStyle::pixelMetric(metric, option, widget);
        return metric == PM_TabBarTabHSpace ? std::min(v, 12) : v;
    }
};

// The width of the label column: the longest label of the editor, so that the controls of
// the first and the third page stand in one line.
int labelColumnWidth(const QWidget* page)
{
    const QFontMetrics fm(page->font());
    int w = 0;
    for (const char* t : {"Naziv korisnika:", "Adresa stanovanja:", "Adresa prebivališta:", "Telefon/fax/mobitel:",
                          "Tvtka zaposlenja:", "Telefoni/fax tvrtke:"})
        w = std::max(w, fm.horizontalAdvance(QString::fromUtf8(t)));
    return w + 2;
}

// A page with the label column on the left and the control column beside it.
QGridLayout* pageGrid(QWidget* page)
{
    auto* g = new QGridLayout(page);
    g->setContentsMargins(8, 8, 8, 8);
    g->setHorizontalSpacing(8);
    g->setVerticalSpacing(4);
    g->setColumnStretch(2, 1);
    g->setColumnMinimumWidth(0, labelColumnWidth(page));
    return g;
}

void addRow(QGridLayout* g, int row, const QString& text, QWidget* control, QWidget* page, bool multiLine = false)
{
    QLabel* l = label(text, page);
    if (multiLine) l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    l->setBuddy(control);
    g->addWidget(l, row, 0, multiLine ? Qt::AlignTop : Qt::AlignVCenter);
    g->addWidget(control, row, 1, Qt::AlignLeft);
}

} // namespace

TFKorisnikUnos::TFKorisnikUnos(QWidget* parent) : fw::TFRepUnos(parent)
{
    setObjectName(QStringLiteral("FKorisnikUnos"));
    setWindowTitle(QStringLiteral("Korisnik"));
    buildPages();
    resize(431, 455);
    if (!g_instance) g_instance = this;
}

TFKorisnikUnos::~TFKorisnikUnos()
{
    if (g_instance == this) g_instance = nullptr;
}

TFKorisnikUnos* TFKorisnikUnos::instance() { return g_instance; }

void TFKorisnikUnos::buildPages()
{
    // ---------------------------------------------------------------- "Korisnik"
    PageControl1->setTabText(0, QStringLiteral("Korisnik"));
    QStyle* tabStyle = new CompactTabStyle(QStyleFactory::create(style()->name()));
    tabStyle->setParent(this);
    PageControl1->tabBar()->setStyle(tabStyle);
    QWidget* p1 = TabSheet1;
    QGridLayout* g1 = pageGrid(p1);
    NAZIV_KORISNIKA = lineEdit("NAZIV_KORISNIKA", p1);
    NAZIV_KORISNIKA->setFixedWidth(270);
    ADRESA = memo("ADRESA", p1, true);
    ADRESA_PREBIVAL = memo("ADRESA_PREBIVAL", p1);
    TEL_FAX_MOB = memo("TEL_FAX_MOB", p1);
    E_MAIL = lineEdit("E_MAIL", p1);
    E_MAIL->setFixedWidth(232);
    MBR = lineEdit("MBR", p1);
    MBR->setFixedWidth(123);
    RABAT = new TDecimalEdit(p1);
    RABAT->setObjectName(QStringLiteral("RABAT"));
    RABAT->setFixedWidth(73);
    auto* rabatBox = new QWidget(p1);
    auto* rl = new QHBoxLayout(rabatBox);
    rl->setContentsMargins(0, 0, 0, 0);
    rl->setSpacing(2);
    RABAT->setParent(rabatBox);
    rl->addWidget(RABAT);
    auto* posto = new QLabel(QStringLiteral(" % "), rabatBox);
    posto->setObjectName(QStringLiteral("Label_posto"));
    rl->addWidget(posto);
    rl->addStretch(1);

    addRow(g1, 0, QStringLiteral("Naziv korisnika:"), NAZIV_KORISNIKA, p1);
    addRow(g1, 1, QStringLiteral("Adresa stanovanja:"), ADRESA, p1, true);
    addRow(g1, 2, QStringLiteral("Adresa prebivališta:"), ADRESA_PREBIVAL, p1, true);
    addRow(g1, 3, QStringLiteral("Telefon/fax/mobitel:"), TEL_FAX_MOB, p1, true);
    addRow(g1, 4, QStringLiteral("E-mail:"), E_MAIL, p1);
    addRow(g1, 5, QStringLiteral("JMBG:"), MBR, p1);
    {
        QLabel* l = label(QStringLiteral("Rabat:"), p1);
        l->setBuddy(RABAT);
        g1->addWidget(l, 6, 0);
        g1->addWidget(rabatBox, 6, 1, Qt::AlignLeft);
    }
    g1->setRowStretch(7, 1);

    // ---------------------------------------------------------------- "Osobni dokumenti"
    TabSheet2 = new QWidget;
    TabSheet2->setObjectName(QStringLiteral("TabSheet2"));
    PageControl1->addTab(TabSheet2, QStringLiteral("Osobni dokumenti"));
    auto* v2 = new QVBoxLayout(TabSheet2);
    v2->setContentsMargins(8, 8, 8, 8);
    v2->setSpacing(8);
    auto group = [this, v2](const QString& title, const char* name, QLineEdit*& number, const char* numberName,
                            QLineEdit*& place, const char* placeName) {
        auto* gb = new QGroupBox(title, TabSheet2);
        gb->setObjectName(QLatin1String(name));
        auto* g = new QGridLayout(gb);
        g->setContentsMargins(8, 6, 8, 8);
        g->setHorizontalSpacing(12);
        g->setVerticalSpacing(2);
        number = lineEdit(numberName, gb);
        place = lineEdit(placeName, gb);
        QLabel* ln = label(QStringLiteral("Broj:"), gb);
        QLabel* lp = label(QStringLiteral("Mjesto izdavanja:"), gb);
        ln->setBuddy(number);
        lp->setBuddy(place);
        g->addWidget(ln, 0, 0);
        g->addWidget(lp, 0, 1);
        g->addWidget(number, 1, 0);
        g->addWidget(place, 1, 1);
        g->setColumnStretch(0, 1);
        g->setColumnStretch(1, 1);
        v2->addWidget(gb);
        return gb;
    };
    GroupBoxOsobna = group(QStringLiteral("Osobna iskaznica:"), "GroupBoxOsobna", BR_0SOBNE, "BR_0SOBNE",
                           OSOBNA_IZDANA_U, "OSOBNA_IZDANA_U");
    GroupBoxPutovnica = group(QStringLiteral("Putovnica:"), "GroupBoxPutovnica", BR_PUTOVNICE, "BR_PUTOVNICE",
                              PUTOVNICA_IZDANA_U, "PUTOVNICA_IZDANA_U");
    GroupBoxVozacka = group(QStringLiteral("Vozačka dozvola:"), "GroupBoxVozacka", BR_VOZACKE, "BR_VOZACKE",
                            VOZACKA_IZDANA_U, "VOZACKA_IZDANA_U");
    v2->addStretch(1);

    // ---------------------------------------------------------------- "Tvrtka zaposlenja"
    TabSheet3 = new QWidget;
    TabSheet3->setObjectName(QStringLiteral("TabSheet3"));
    PageControl1->addTab(TabSheet3, QStringLiteral("Tvrtka zaposlenja"));
    QWidget* p3 = TabSheet3;
    QGridLayout* g3 = pageGrid(p3);
    TVRTKA_ZAPOSLENJA = lineEdit("TVRTKA_ZAPOSLENJA", p3);
    TVRTKA_ZAPOSLENJA->setFixedWidth(232);
    ADRESA_TVRKE = memo("ADRESA_TVRKE", p3);
    TEL_FAX_MOB_TVRTKE = memo("TEL_FAX_MOB_TVRTKE", p3);
    E_MAIL_TVRTKE = lineEdit("E_MAIL_TVRTKE", p3);
    E_MAIL_TVRTKE->setFixedWidth(232);
    WEB = lineEdit("WEB", p3);
    WEB->setFixedWidth(232);
    ZASTUPA_TVRTKU_DANE = new QCheckBox(QStringLiteral("Zastupa tvrtku"), p3);
    ZASTUPA_TVRTKU_DANE->setObjectName(QStringLiteral("ZASTUPA_TVRTKU_DANE"));
    addRow(g3, 0, QStringLiteral("Tvtka zaposlenja:"), TVRTKA_ZAPOSLENJA, p3);
    addRow(g3, 1, QStringLiteral("Adresa tvrtke:"), ADRESA_TVRKE, p3, true);
    addRow(g3, 2, QStringLiteral("Telefoni/fax tvrtke:"), TEL_FAX_MOB_TVRTKE, p3, true);
    addRow(g3, 3, QStringLiteral("E-mail tvrke:"), E_MAIL_TVRTKE, p3);
    addRow(g3, 4, QStringLiteral("WEB stranica:"), WEB, p3);
    g3->addWidget(ZASTUPA_TVRTKU_DANE, 5, 1, Qt::AlignLeft);
    g3->setRowStretch(6, 1);

    // Tab order: the pages' controls as listed, then the buttons.
    const QList<QWidget*> order = {static_cast<QWidget*>(NAZIV_KORISNIKA), ADRESA, ADRESA_PREBIVAL, TEL_FAX_MOB, E_MAIL, MBR, RABAT,
                                   BR_0SOBNE, OSOBNA_IZDANA_U, BR_PUTOVNICE, PUTOVNICA_IZDANA_U, BR_VOZACKE,
                                   VOZACKA_IZDANA_U, TVRTKA_ZAPOSLENJA, ADRESA_TVRKE, TEL_FAX_MOB_TVRTKE,
                                   E_MAIL_TVRTKE, WEB, ZASTUPA_TVRTKU_DANE, BBrisanje, BIzlaz, BSnimi};
    setTabOrder(PageControl1, order.first());
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);

    PageControl1->setCurrentIndex(0);
}

// ------------------------------------------------------------------ columns and controls

const QStringList& TFKorisnikUnos::textColumns()
{
    static const QStringList columns = {
        QStringLiteral("ADRESA"),           QStringLiteral("ADRESA_PREBIVAL"),    QStringLiteral("TEL_FAX_MOB"),
        QStringLiteral("E_MAIL"),           QStringLiteral("NAZIV_KORISNIKA"),    QStringLiteral("TVRTKA_ZAPOSLENJA"),
        QStringLiteral("ADRESA_TVRKE"),     QStringLiteral("TEL_FAX_MOB_TVRTKE"), QStringLiteral("E_MAIL_TVRTKE"),
        QStringLiteral("WEB"),              QStringLiteral("MBR"),                QStringLiteral("BR_0SOBNE"),
        QStringLiteral("OSOBNA_IZDANA_U"),  QStringLiteral("BR_PUTOVNICE"),       QStringLiteral("PUTOVNICA_IZDANA_U"),
        QStringLiteral("BR_VOZACKE"),       QStringLiteral("VOZACKA_IZDANA_U")};
    return columns;
}

QWidget* TFKorisnikUnos::control(const QString& column) const
{
    return findChild<QWidget*>(column);
}

QString TFKorisnikUnos::toStoredLines(const QString& shown)
{
    QString s = shown;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    s.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
    return s;
}

QString TFKorisnikUnos::fromStoredLines(const QString& stored)
{
    QString s = stored;
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return s;
}

QString TFKorisnikUnos::controlText(const QString& column) const
{
    QWidget* w = control(column);
    if (auto* e = qobject_cast<QLineEdit*>(w)) return e->text();
    if (auto* m = qobject_cast<QPlainTextEdit*>(w)) return toStoredLines(m->toPlainText());
    return QString();
}

void TFKorisnikUnos::setControlText(const QString& column, const QString& stored)
{
    QWidget* w = control(column);
    if (auto* e = qobject_cast<QLineEdit*>(w)) {
        e->setText(stored);
        e->setCursorPosition(0);
    } else if (auto* m = qobject_cast<QPlainTextEdit*>(w)) {
        m->setPlainText(fromStoredLines(stored));
    }
}

// ------------------------------------------------------------------ the operations

void TFKorisnikUnos::FormShow()
{
    // "Korisnik" in front before the sequence too, so that the new-row focus lands on the
    // name and not on a control of a page left in front at the last showing.
    PageControl1->setCurrentIndex(0);
    fw::TFRepUnos::FormShow();
    PageControl1->setCurrentIndex(0);
}

void TFKorisnikUnos::clearControls()
{
    for (const QString& c : textColumns()) setControlText(c, QString());
    ZASTUPA_TVRTKU_DANE->setChecked(false);
}

void TFKorisnikUnos::PrepareNewRecord()
{
    focusFirstControl();
    clearControls();
    RABAT->setValue(db::Decimal(0));
}

void TFKorisnikUnos::PuniFormu()
{
    for (const QString& c : textColumns()) setControlText(c, IBSQL1.field(c).toString());
    ZASTUPA_TVRTKU_DANE->setChecked(IBSQL1.field(QStringLiteral("ZASTUPA_TVRTKU_DANE")).toString() == kDa);
    RABAT->setValue(IBSQL1.field(QStringLiteral("RABAT")).toDecimal());
}

bool TFKorisnikUnos::ValidateInput()
{
    focusFirstControl();   // also completes a discount still being typed
    struct Check {
        QWidget* control;
        QString text;
        QString message;
    };
    const Check checks[] = {
        {NAZIV_KORISNIKA, NAZIV_KORISNIKA->text(), QStringLiteral("Polje \"Naziv korisnika\" ne smije biti prazno!")},
        {ADRESA, ADRESA->toPlainText(), QStringLiteral("Polje \"Adresa stanovanja\" ne smije biti prazno!")},
        {MBR, MBR->text(), QStringLiteral("Polje \"JMBG\" ne smije biti prazno!")},
    };
    for (const Check& c : checks) {
        if (!c.text.trimmed().isEmpty()) continue;
        fw::dialogs().warning(c.message, this);
        PageControl1->setCurrentWidget(TabSheet1);
        c.control->setFocus(Qt::OtherFocusReason);
        return false;
    }
    return true;
}

bool TFKorisnikUnos::PuniSlog()
{
    const db::Value id = Tag == -1 ? db::Value(NextGeneratorValue(QStringLiteral("GEN_KORISNICI_ID"))) : KeyValue.at(0);
    IBSQL1.setParam(QStringLiteral("IDKORISNIKA"), id);
    for (const QString& c : textColumns()) IBSQL1.setParam(c, controlText(c));
    IBSQL1.setParam(QStringLiteral("ZASTUPA_TVRTKU_DANE"), ZASTUPA_TVRTKU_DANE->isChecked() ? kDa : kNe);
    IBSQL1.setParam(QStringLiteral("RABAT"), RABAT->value());
    return true;
}

} // namespace customers
