#include "framework/repunos.h"
#include "db/datamodule.h"
#include "framework/dialogs.h"
#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QTabWidget>
#include <QVBoxLayout>

namespace fw {

static const QChar CR = QLatin1Char('\r');

TFRepUnos::TFRepUnos(QWidget* parent) : QDialog(parent)
{
    buildUi();
    bindToDataModule();
    IBSQL_ID.setSql(QStringLiteral("SELECT GEN_ID( :GEN_ID , 1) FROM RDB$DATABASE"));
}

TFRepUnos::TFRepUnos(QWidget* owner, const QString& tableName, const QString& keyFields, const RecordKey& keyValue)
    : TFRepUnos(owner)
{
    TableName = tableName;
    KeyFields = keyFields;
    KeyValue = keyValue;
}

TFRepUnos::~TFRepUnos() = default;

void TFRepUnos::buildUi()
{
    setObjectName(QStringLiteral("FRepUnos"));
    setWindowTitle(QStringLiteral("RepUnos"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(416, 375);

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    // The page area first, so that the pages' controls come before the buttons in tab order.
    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* pl = new QVBoxLayout(Panel2);
    pl->setContentsMargins(4, 4, 4, 4);
    PageControl1 = new QTabWidget(Panel2);
    PageControl1->setObjectName(QStringLiteral("PageControl1"));
    TabSheet1 = new QWidget;
    TabSheet1->setObjectName(QStringLiteral("TabSheet1"));
    PageControl1->addTab(TabSheet1, QStringLiteral("TabSheet1"));
    pl->addWidget(PageControl1);
    KontUnos = new QCheckBox(QStringLiteral("Kontinuirani unos"), Panel2);
    KontUnos->setObjectName(QStringLiteral("KontUnos"));
    KontUnos->setFocusPolicy(Qt::NoFocus);
    KontUnos->setChecked(false);
    KontUnos->adjustSize();
    KontUnos->move(300, 5);
    KontUnos->raise();
    outer->addWidget(Panel2, 1);

    Ptipke = new QFrame(this);
    Ptipke->setObjectName(QStringLiteral("Ptipke"));
    Ptipke->setFixedHeight(45);
    auto* bl = new QHBoxLayout(Ptipke);
    bl->setContentsMargins(4, 6, 4, 7);
    bl->setSpacing(6);
    BBrisanje = new QPushButton(QStringLiteral("Briši zapis"), Ptipke);
    BBrisanje->setObjectName(QStringLiteral("BBrisanje"));
    BBrisanje->setFixedSize(94, 32);
    BBrisanje->setAutoDefault(false);
    BIzlaz = new QPushButton(QStringLiteral("Otkaži"), Ptipke);
    BIzlaz->setObjectName(QStringLiteral("BIzlaz"));
    BIzlaz->setFixedSize(75, 32);
    BIzlaz->setAutoDefault(false);
    BSnimi = new QPushButton(QStringLiteral("Snimi promjene"), Ptipke);
    BSnimi->setObjectName(QStringLiteral("BSnimi"));
    BSnimi->setFixedSize(127, 32);
    QFont bold = BSnimi->font();
    bold.setBold(true);
    BSnimi->setFont(bold);
    BSnimi->setDefault(true);
    bl->addWidget(BBrisanje);
    bl->addStretch(1);
    bl->addWidget(BIzlaz);
    bl->addWidget(BSnimi);
    outer->addWidget(Ptipke);

    connect(BSnimi, &QPushButton::clicked, this, [this] { BSnimiClick(); });
    connect(BBrisanje, &QPushButton::clicked, this, [this] { BBrisanjeClick(); });
    connect(BIzlaz, &QPushButton::clicked, this, &QDialog::reject);   // Esc does the same
}

void TFRepUnos::bindToDataModule()
{
    db::TDataModule1* dm = db::DataModule1();
    if (!dm) return;
    if (!IBSQL1.transaction()) IBSQL1.setTransaction(&dm->IBTransaction1);
    if (!IBSQL_ID.transaction()) IBSQL_ID.setTransaction(&dm->Read);
}

QString TFRepUnos::rowMissingOnUpdateText()
{
    return QStringLiteral("Zapis nije spremljen: više ne postoji u bazi (možda ga je u međuvremenu obrisao drugi korisnik).");
}

QString TFRepUnos::rowMissingOnDeleteText()
{
    return QStringLiteral("Zapis nije obrisan: više ne postoji u bazi (možda ga je u međuvremenu obrisao drugi korisnik).");
}

// ------------------------------------------------------------------ key fields

static bool isTrimmed(QChar c) { return c.unicode() <= 32; }

static QString trimControls(const QString& s)
{
    int b = 0, e = int(s.size());
    while (b < e && isTrimmed(s[b])) ++b;
    while (e > b && isTrimmed(s[e - 1])) --e;
    return s.mid(b, e - b);
}

QStringList TFRepUnos::SplitKeyFields(const QString& keyFields)
{
    QStringList out;
    const int n = int(keyFields.size());
    int i = 0;
    while (i < n) {
        int j = keyFields.indexOf(QLatin1Char(';'), i);
        if (j < 0) j = n;
        out << trimControls(keyFields.mid(i, j - i));
        i = j + 1;
    }
    return out;
}

void TFRepUnos::addKeyLines(const QStringList& keys)
{
    for (int i = 0; i < keys.size(); ++i) {
        const QString prefix = i == 0 ? QStringLiteral("WHERE    ") : QStringLiteral("   and ");
        IBSQL1.addLine(prefix + keys[i] + QStringLiteral("=:") + keys[i]);
    }
}

void TFRepUnos::bindKeyByPosition()
{
    db::Params& p = IBSQL1.params();
    p.clearValues();
    if (p.count() == 0) return;
    if (KeyValue.isArray()) {
        for (int i = 0; i < KeyValue.count() && i < p.count(); ++i) p.set(i, KeyValue.at(i));
    } else {
        p.set(0, KeyValue.at(0));
    }
}

void TFRepUnos::rollbackQuietly()
{
    db::Transaction* t = writeTransaction();
    try {
        if (t && t->isActive()) t->rollback();
    } catch (...) {
        // the original error is the one that is reported
    }
}

// ------------------------------------------------------------------ the show sequence

void TFRepUnos::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    placeKontUnos();
}

// Over the page tabs at the top right; at (300, 5) when the text fits there.
void TFRepUnos::placeKontUnos()
{
    KontUnos->adjustSize();
    const int x = std::max(0, std::min(300, Panel2->width() - KontUnos->width() - 6));
    KontUnos->move(x, 5);
    KontUnos->raise();
}

void TFRepUnos::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    placeKontUnos();
    if (event->spontaneous()) return;
    if (QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen()) {
        QRect g = frameGeometry();
        g.moveCenter(s->availableGeometry().center());
        move(g.topLeft());
    }
    try {
        FormShow();
    } catch (const db::DbError& e) {
        dialogs().error(e.message(), this);
    } catch (const std::exception& e) {
        dialogs().error(QString::fromLocal8Bit(e.what()), this);
    }
}

void TFRepUnos::FormShow()
{
    KontUnos->setVisible(Tag == -1);
    BBrisanje->setVisible(Tag != -1);
    OpenRecord(Tag);
    if (Tag == -1) PrepareNewRecord();
}

void TFRepUnos::focusFirstControl()
{
    auto firstIn = [this](QWidget* container) -> QWidget* {
        if (!container) return nullptr;
        QWidget* w = this;
        do {
            w = w->nextInFocusChain();
            if (w != container && container->isAncestorOf(w) && (w->focusPolicy() & Qt::TabFocus) &&
                w->isEnabled() && w->isVisibleTo(this) && !w->focusProxy())
                return w;
        } while (w != this);
        return nullptr;
    };
    QWidget* target = firstIn(PageControl1->currentWidget());
    if (!target) target = firstIn(this);
    if (target) target->setFocus(Qt::OtherFocusReason);
}

void TFRepUnos::PrepareNewRecord() { focusFirstControl(); }

void TFRepUnos::PuniFormu()
{
    dialogs().message(QStringLiteral("Virtualna funkcija PuniFormu. Potrebno je napuniti polja forme iz IBSQL"),
                      MessageKind::Plain, this);
}

void TFRepUnos::OpenRecord(int tag)
{
    (void)tag;
    LoadRecord();
}

void TFRepUnos::LoadRecord()
{
    bindToDataModule();
    const QStringList keys = SplitKeyFields(KeyFields);
    db::Transaction* t = writeTransaction();
    if (t) t->start();
    IBSQL1.close();
    IBSQL1.clearSql();
    IBSQL1.addLine(QStringLiteral(" SELECT * FROM ") + TableName + CR);
    addKeyLines(keys);
    try {
        bindKeyByPosition();
        if (TraceStatements) ShowStatement(IBSQL1);
        IBSQL1.execQuery();
        ColumnNames = IBSQL1.columnNames();
        PuniFormu();
        IBSQL1.close();
        if (t) t->commit();
    } catch (...) {
        IBSQL1.close();
        rollbackQuietly();
        throw;
    }
}

// ------------------------------------------------------------------ saving

bool TFRepUnos::ValidateInput() { return true; }

void TFRepUnos::BuildInsertSql()
{
    QString columns = QStringLiteral("INSERT INTO ") + TableName + QStringLiteral(" (");
    QString values = QStringLiteral("VALUES (");
    for (int i = 0; i < ColumnNames.size(); ++i) {
        const QString sep = i == 0 ? QStringLiteral(" ") : QStringLiteral(", ");
        columns += sep + ColumnNames[i];
        values += sep + QLatin1Char(':') + ColumnNames[i];
    }
    columns += QLatin1Char(')');
    values += QLatin1Char(')');
    IBSQL1.clearSql();
    IBSQL1.addLine(columns + CR + values);
}

void TFRepUnos::BuildUpdateSql()
{
    IBSQL1.clearSql();
    IBSQL1.addLine(QStringLiteral("UPDATE ") + TableName + QStringLiteral(" SET"));
    for (int i = 0; i < ColumnNames.size(); ++i) {
        const QString sep = i == 0 ? QStringLiteral(" ") : QStringLiteral(", ");
        IBSQL1.addLine(sep + ColumnNames[i] + QStringLiteral("= :") + ColumnNames[i]);
    }
    IBSQL1.addLine(QStringLiteral("WHERE"));
    // The row is found by the key the dialog was opened with (OLD_ parameters, set from
    // KeyValue by SaveRecord), so that a changed key column is written too.
    const QStringList keys = SplitKeyFields(KeyFields);
    for (int i = 0; i < keys.size(); ++i) {
        const QString sep = i == 0 ? QStringLiteral(" ") : QStringLiteral("   and ");
        IBSQL1.addLine(sep + keys[i] + QStringLiteral("=:OLD_") + keys[i]);
    }
}

bool TFRepUnos::PuniSlog()
{
    dialogs().message(QStringLiteral("Virtualna funkcija PuniSlog. potrebno je napunit IBSQL1:") + CR + IBSQL1.text(),
                      MessageKind::Plain, this);
    return false;
}

int TFRepUnos::SaveRecord()
{
    if (!ValidateInput()) return -1;
    bindToDataModule();
    const bool inserting = Tag == -1;
    IBSQL1.close();
    IBSQL1.clearSql();
    if (inserting) BuildInsertSql();
    else BuildUpdateSql();
    IBSQL1.params().clearValues();
    db::Transaction* t = writeTransaction();
    if (t) t->start();

    // The key the dialog was opened with, for the WHERE clause of the UPDATE; a derived
    // editor's PuniSlog may still set these parameters itself.
    const QStringList keys = SplitKeyFields(KeyFields);
    db::Params& p = IBSQL1.params();
    std::vector<QString> unbound;
    if (!inserting) {
        for (int i = 0; i < keys.size(); ++i) {
            const QString old = QStringLiteral("OLD_") + keys[i];
            if (!p.contains(old)) continue;
            if (i < KeyValue.count()) p.set(old, KeyValue.at(i));
            else unbound.push_back(keys[i]);
        }
    }

    int64_t rows = 0;
    try {
        if (!PuniSlog()) return -1;
        for (const QString& k : unbound)
            if (p.contains(k)) p.set(QStringLiteral("OLD_") + k, p.value(k));
        IBSQL1.execQuery();
        rows = IBSQL1.rowsAffected();
        IBSQL1.close();
        if (t) t->commit();
    } catch (...) {
        IBSQL1.close();
        rollbackQuietly();
        throw;
    }
    if (!inserting && rows == 0) {
        dialogs().warning(rowMissingOnUpdateText(), this);
        return -1;
    }
    Tag = 0;
    return 0;
}

void TFRepUnos::BSnimiClick()
{
    if (SaveRecord() == -1) return;
    if (KontUnos->isChecked() && !KontUnos->isHidden()) {
        Tag = -1;
        PrepareNewRecord();
    } else {
        done(QDialog::Accepted);
    }
}

// ------------------------------------------------------------------ deleting

void TFRepUnos::BBrisanjeClick()
{
    if (!dialogs().confirm(QStringLiteral("Želite li obrisati zapis?"), this)) return;
    bindToDataModule();
    const QStringList keys = SplitKeyFields(KeyFields);
    db::Transaction* t = writeTransaction();
    if (t) t->start();
    IBSQL1.close();
    IBSQL1.clearSql();
    IBSQL1.addLine(QStringLiteral("DELETE FROM ") + TableName);
    addKeyLines(keys);
    int64_t rows = 0;
    try {
        bindKeyByPosition();
        IBSQL1.execQuery();
        rows = IBSQL1.rowsAffected();
        if (t) t->commit();
    } catch (...) {
        IBSQL1.close();
        rollbackQuietly();
        throw;
    }
    if (rows == 0) {
        dialogs().warning(rowMissingOnDeleteText(), this);
        return;
    }
    done(QDialog::Accepted);
}

// ------------------------------------------------------------------ generators, tracing

int TFRepUnos::NextGeneratorValue(const QString& generator)
{
    bindToDataModule();
    db::Transaction* t = IBSQL_ID.transaction();
    if (!t) throw db::DbError(QStringLiteral("Naredba nema transakciju."));
    const bool wasActive = t->isActive();
    t->start();
    IBSQL_ID.close();
    IBSQL_ID.clearSql();
    IBSQL_ID.setSql(QStringLiteral("SELECT GEN_ID(") + generator + QStringLiteral(" , 1) FROM RDB$DATABASE"));
    IBSQL_ID.execQuery();
    const int value = IBSQL_ID.column(0).toInt32();
    IBSQL_ID.close();
    if (wasActive) t->commitRetaining();
    else t->commit();
    return value;
}

void TFRepUnos::ShowStatement(db::Statement& statement)
{
    QString params = QStringLiteral(" Parametri:");
    db::Params& p = statement.params();
    for (int i = 0; i < p.count(); ++i) params += p.name(i) + QLatin1Char('=') + p.value(i).toString() + CR;
    dialogs().message(statement.text() + CR + params, MessageKind::Plain, this);
}

} // namespace fw
