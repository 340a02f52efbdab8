// The record editor base: generated statements, key splitting, the show sequence, saving with
// continuous entry, deleting, generators, the base's own messages, the UPDATE by the opened
// key, and what a refused statement leaves behind.
#include "db/datamodule.h"
#include "framework/dialogs.h"
#include "framework/repunos.h"
#include "testdb.h"
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

using fw::RecordKey;
using fw::TFRepUnos;
using testing_support::TempDatabase;

namespace {

// A fresh database with the data module connected and the scripted dialogs installed.
struct Env {
    TempDatabase d;
    db::TDataModule1 dm;
    fw::ScriptedDialogs dialogs;
    Env()
    {
        d.connect(dm);
        fw::installDialogs(&dialogs);
        d.exec({"insert into VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) "
                "values (1, 'Škoda', 'Fabia', 255, 'M1', 'S1', 'DA')"});
    }
    ~Env() { fw::installDialogs(nullptr); }
    db::Value scalar(const QString& sql)
    {
        return db::queryValue(&dm.DB, &dm.IBTransaction3, sql);
    }
};

// A small editor: PuniFormu copies the loaded row into `loaded`, PuniSlog writes `row`
// (and, for a new row, a key drawn from `generator` into `generatorColumn`).
class TestEditor : public TFRepUnos {
public:
    explicit TestEditor(QWidget* parent = nullptr) : TFRepUnos(parent) { addControl(); }
    TestEditor(QWidget* owner, const QString& t, const QString& k, const RecordKey& v) : TFRepUnos(owner, t, k, v) { addControl(); }

    QLineEdit* firstEdit = nullptr;
    QMap<QString, db::Value> row, loaded;
    QString generator, generatorColumn;
    bool valid = true;
    QStringList calls;

protected:
    void PrepareNewRecord() override
    {
        calls << "PrepareNewRecord";
        TFRepUnos::PrepareNewRecord();
    }
    void PuniFormu() override
    {
        calls << "PuniFormu";
        loaded.clear();
        for (const QString& c : ColumnNames) loaded[c] = IBSQL1.field(c);
    }
    bool ValidateInput() override { return valid; }
    bool PuniSlog() override
    {
        for (const QString& c : ColumnNames) IBSQL1.setParam(c, row.value(c));
        if (Tag == -1 && !generator.isEmpty()) IBSQL1.setParam(generatorColumn, NextGeneratorValue(generator));
        return true;
    }

private:
    void addControl()
    {
        firstEdit = new QLineEdit(TabSheet1);
        firstEdit->setObjectName("OPIS");
        firstEdit->move(10, 10);
    }
};

QMap<QString, db::Value> service(const QString& serviser, const QString& opis = "Mali servis")
{
    return {{"IDVOZILA", 1}, {"DATUM", QDate(2024, 3, 1)}, {"OPIS", opis}, {"TRAJANJE", 2},
            {"SERVISER", serviser}, {"TROSAK", db::Decimal(350)}};
}

QMap<QString, db::Value> customer(const QString& name)
{
    return {{"NAZIV_KORISNIKA", name}, {"ZASTUPA_TVRTKU_DANE", "NE"}, {"ADRESA", "Ilica 1"}, {"MBR", "123"}};
}

const char* kService = "insert into SERVISI (IDVOZILA, DATUM, OPIS, SERVISER, TROSAK) "
                       "values (1, '2024-03-01', 'Mali servis', 'Ante', 350)";

} // namespace

class TstRepUnos : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia)); }

    void splitKeyFields_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("names");
        QTest::newRow("two") << "A;B" << QStringList{"A", "B"};
        QTest::newRow("trailing semicolon") << "A;B;" << QStringList{"A", "B"};
        QTest::newRow("empty between") << "A;;B" << QStringList{"A", "", "B"};
        QTest::newRow("blanks and tabs") << "  IDVOZILA ;\tREGOZNAKA\t; VRIJEDI_OD  " << QStringList{"IDVOZILA", "REGOZNAKA", "VRIJEDI_OD"};
        QTest::newRow("blank after last") << "A; " << QStringList{"A", ""};
        QTest::newRow("empty") << "" << QStringList{};
        QTest::newRow("one") << "IDKORISNIKA" << QStringList{"IDKORISNIKA"};
    }
    void splitKeyFields()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, names);
        QCOMPARE(TFRepUnos::SplitKeyFields(text), names);
    }

    void generatedStatementTexts()
    {
        Env e;
        e.d.exec({kService});
        // SELECT with three key columns (REGOZ)
        TestEditor reg(nullptr, "REGOZ", "IDVOZILA;REGOZNAKA;VRIJEDI_OD", {1, "ZG-123-A", QDate(2024, 1, 1)});
        reg.LoadRecord();
        QCOMPARE(reg.IBSQL1.sql(), (QStringList{" SELECT * FROM REGOZ\r", "WHERE    IDVOZILA=:IDVOZILA",
                                                "   and REGOZNAKA=:REGOZNAKA", "   and VRIJEDI_OD=:VRIJEDI_OD"}));
        QCOMPARE(reg.ColumnNames, (QStringList{"REGOZNAKA", "IDVOZILA", "VRIJEDI_OD", "VRIJEDI_DO", "STANJEKM", "DETALJNO"}));

        // INSERT: one line, a carriage return between the lists, "( A, B)" and "( :A, :B)"
        TestEditor kor(nullptr, "KORISNICI", "IDKORISNIKA", {-1});
        kor.LoadRecord();
        kor.BuildInsertSql();
        QCOMPARE(kor.IBSQL1.sql().size(), 1);
        const QString cols = kor.ColumnNames.join(", ");
        const QString params = ":" + kor.ColumnNames.join(", :");
        QCOMPARE(kor.IBSQL1.sql().first(), "INSERT INTO KORISNICI ( " + cols + ")\rVALUES ( " + params + ")");
        QVERIFY(kor.IBSQL1.sql().first().startsWith("INSERT INTO KORISNICI ( IDKORISNIKA, NAZIV_KORISNIKA, MBR,"));
        QVERIFY(kor.IBSQL1.sql().first().endsWith(", :RABAT)"));

        // UPDATE (SERVISI): every column in SET, the key by the opened key (OLD_ parameters)
        TestEditor srv(nullptr, "SERVISI", "IDVOZILA;DATUM;SERVISER", {1, QDate(2024, 3, 1), "Ante"});
        srv.LoadRecord();
        srv.BuildUpdateSql();
        QCOMPARE(srv.IBSQL1.sql(), (QStringList{"UPDATE SERVISI SET", " IDVOZILA= :IDVOZILA", ", DATUM= :DATUM",
                                                ", OPIS= :OPIS", ", TRAJANJE= :TRAJANJE", ", SERVISER= :SERVISER",
                                                ", TROSAK= :TROSAK", ", DATUM_SLJEDECEG= :DATUM_SLJEDECEG",
                                                ", SLJEDECIH_X_KM= :SLJEDECIH_X_KM", "WHERE",
                                                " IDVOZILA=:OLD_IDVOZILA", "   and DATUM=:OLD_DATUM",
                                                "   and SERVISER=:OLD_SERVISER"}));

        // DELETE with the key lines of the SELECT
        e.dialogs.confirmAnswers = {true};
        srv.BBrisanjeClick();
        QCOMPARE(srv.IBSQL1.sql(), (QStringList{"DELETE FROM SERVISI", "WHERE    IDVOZILA=:IDVOZILA",
                                                "   and DATUM=:DATUM", "   and SERVISER=:SERVISER"}));
        QCOMPARE(e.scalar("select count(*) from SERVISI").toInt(), 0);
    }

    void showSequenceByTag_data()
    {
        QTest::addColumn<int>("tag");
        QTest::addColumn<bool>("kontUnos");
        QTest::addColumn<bool>("brisanje");
        QTest::addColumn<QStringList>("calls");
        QTest::newRow("new row") << -1 << true << false << QStringList{"PuniFormu", "PrepareNewRecord"};
        QTest::newRow("existing row") << 1 << false << true << QStringList{"PuniFormu"};
        QTest::newRow("existing row, tag 0") << 0 << false << true << QStringList{"PuniFormu"};
    }
    void showSequenceByTag()
    {
        QFETCH(int, tag);
        QFETCH(bool, kontUnos);
        QFETCH(bool, brisanje);
        QFETCH(QStringList, calls);
        Env e;
        e.d.exec({"insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) values (1, 'Ana', 'NE', 'Ilica 1')"});
        TestEditor dlg;
        QCOMPARE(dlg.windowTitle(), QString("RepUnos"));
        QVERIFY(!dlg.KontUnos->isChecked());
        dlg.TableName = "KORISNICI";
        dlg.KeyFields = "IDKORISNIKA";
        dlg.KeyValue = {tag == -1 ? -1 : 1};
        dlg.Tag = tag;
        dlg.show();
        QCOMPARE(dlg.KontUnos->isVisible(), kontUnos);
        QCOMPARE(dlg.BBrisanje->isVisible(), brisanje);
        QCOMPARE(dlg.calls, calls);
        QCOMPARE(dlg.loaded.value("NAZIV_KORISNIKA").toString(), QString(tag == -1 ? "" : "Ana"));
        QCOMPARE(dlg.ColumnNames.size(), 20);
        if (tag == -1) QCOMPARE(dlg.focusWidget(), dlg.firstEdit);
        QVERIFY(!e.dm.IBTransaction1.isActive());
        QVERIFY(e.dialogs.shown.empty());
        if (QString dir = qEnvironmentVariable("KAVOR_SCREENSHOT_DIR"); !dir.isEmpty() && tag == -1)
            dlg.grab().save(dir + "/record-editor-new.png");
    }

    void saveNewWithAndWithoutContinuousEntry()
    {
        Env e;
        TestEditor dlg;
        dlg.TableName = "KORISNICI";
        dlg.KeyFields = "IDKORISNIKA";
        dlg.KeyValue = {-1};
        dlg.generator = "GEN_KORISNICI_ID";
        dlg.generatorColumn = "IDKORISNIKA";
        dlg.Tag = -1;
        dlg.show();
        dlg.KontUnos->setChecked(true);
        dlg.row = customer("Ana");
        dlg.BSnimiClick();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.Tag, -1);
        QCOMPARE(dlg.calls.count("PrepareNewRecord"), 2);
        QCOMPARE(dlg.calls.count("PuniFormu"), 1);     // no new LoadRecord
        dlg.row = customer("Boris");
        dlg.BSnimiClick();
        QVERIFY(dlg.isVisible());
        QCOMPARE(e.scalar("select count(*) from KORISNICI").toInt(), 2);
        QCOMPARE(e.scalar("select NAZIV_KORISNIKA from KORISNICI where IDKORISNIKA = 2").toString(), QString("Boris"));
        // the values just written stay readable by column name
        QCOMPARE(dlg.IBSQL1.param("IDKORISNIKA").toInt(), 2);
        QCOMPARE(dlg.IBSQL1.param("NAZIV_KORISNIKA").toString(), QString("Boris"));

        // without continuous entry the save closes with OK and Tag 0
        dlg.KontUnos->setChecked(false);
        dlg.row = customer("Cvita");
        dlg.BSnimiClick();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(dlg.Tag, 0);
        QCOMPARE(dlg.IBSQL1.param("IDKORISNIKA").toInt(), 3);

        // editing: the box is hidden, so a save closes even when it was left checked
        dlg.KontUnos->setChecked(true);
        dlg.KeyValue = {3};
        dlg.Tag = 3;
        dlg.show();
        QVERIFY(!dlg.KontUnos->isVisible());
        dlg.row = dlg.loaded;
        dlg.row["ADRESA"] = "Vukovarska 5";
        dlg.BSnimiClick();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.Tag, 0);
        QCOMPARE(e.scalar("select ADRESA from KORISNICI where IDKORISNIKA = 3").toString(), QString("Vukovarska 5"));
        QVERIFY(!e.dm.IBTransaction1.isActive());
    }

    void refusedValidationWritesNothing()
    {
        Env e;
        TestEditor dlg(nullptr, "KORISNICI", "IDKORISNIKA", {-1});
        dlg.Tag = -1;
        dlg.show();
        dlg.valid = false;
        dlg.row = customer("Ana");
        dlg.row["IDKORISNIKA"] = 9;
        QCOMPARE(dlg.SaveRecord(), -1);
        dlg.BSnimiClick();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.Tag, -1);
        QCOMPARE(e.scalar("select count(*) from KORISNICI").toInt(), 0);
    }

    void deleteAsksFirst()
    {
        Env e;
        e.d.exec({kService});
        TestEditor dlg(nullptr, "SERVISI", "IDVOZILA;DATUM;SERVISER", {1, QDate(2024, 3, 1), "Ante"});
        dlg.Tag = 0;
        dlg.show();
        e.dialogs.confirmAnswers = {false};
        dlg.BBrisanjeClick();
        QCOMPARE(e.dialogs.texts("confirm"), QStringList{"Želite li obrisati zapis?"});
        QVERIFY(dlg.isVisible());
        QCOMPARE(e.scalar("select count(*) from SERVISI").toInt(), 1);
        e.dialogs.confirmAnswers = {true};
        dlg.BBrisanjeClick();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(e.scalar("select count(*) from SERVISI").toInt(), 0);
    }

    // A single (non-array) key value binds the first key parameter only; with one key column
    // that is the whole key.
    void singleKeyValue()
    {
        Env e;
        e.d.exec({kService, "insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) values (7, 'Ana', 'NE', 'Ilica 1')"});
        TestEditor kor(nullptr, "KORISNICI", "IDKORISNIKA", 7);
        QVERIFY(!kor.KeyValue.isArray());
        kor.LoadRecord();
        QCOMPARE(kor.loaded.value("NAZIV_KORISNIKA").toString(), QString("Ana"));
        kor.BBrisanjeClick();
        QCOMPARE(e.scalar("select count(*) from KORISNICI").toInt(), 0);

        TestEditor srv(nullptr, "SERVISI", "IDVOZILA;DATUM;SERVISER", {1, QDate(2024, 3, 1), "Ante"});
        srv.LoadRecord();
        QCOMPARE(srv.loaded.value("SERVISER").toString(), QString("Ante"));
        srv.KeyValue = 1;   // a single value for three key columns
        srv.LoadRecord();
        QCOMPARE(srv.IBSQL1.param(0).toInt(), 1);
        QVERIFY(srv.IBSQL1.param(1).isNull());   // not the value of the earlier load
        QVERIFY(srv.IBSQL1.param(2).isNull());
        QVERIFY(srv.loaded.value("SERVISER").isNull());   // no row matches
    }

    void generatorWithReadActiveAndInactive()
    {
        Env e;
        TFRepUnos dlg;
        QVERIFY(!e.dm.Read.isActive());
        QCOMPARE(dlg.NextGeneratorValue("GEN_KORISNICI_ID"), 1);
        QVERIFY(!e.dm.Read.isActive());        // committed plainly
        QCOMPARE(dlg.IBSQL_ID.sql(), QStringList{"SELECT GEN_ID(GEN_KORISNICI_ID , 1) FROM RDB$DATABASE"});

        db::Dataset list(&e.dm.DB, &e.dm.Read);
        list.setSql("select * from VOZILA");
        list.open();
        QCOMPARE(dlg.NextGeneratorValue("GEN_KORISNICI_ID"), 2);
        QVERIFY(e.dm.Read.isActive());         // commit-retaining keeps the list open
        QVERIFY(list.isActive());
        QCOMPARE(list.recordCount(), 1);
        // the value is committed: another transaction sees the generator moved on
        QCOMPARE(e.scalar("select gen_id(GEN_KORISNICI_ID, 0) from RDB$DATABASE").toInt(), 2);
    }

    void baseMessages()
    {
        Env e;
        TFRepUnos dlg(nullptr, "KORISNICI", "IDKORISNIKA", {-1});
        dlg.Tag = -1;
        dlg.show();
        QCOMPARE(e.dialogs.shown.size(), size_t(1));
        QCOMPARE(e.dialogs.shown[0].kind, QString("plain"));
        QCOMPARE(e.dialogs.shown[0].text, QString("Virtualna funkcija PuniFormu. Potrebno je napuniti polja forme iz IBSQL"));
        e.dialogs.clear();
        QCOMPARE(dlg.SaveRecord(), -1);
        QCOMPARE(e.dialogs.texts("plain"), QStringList{"Virtualna funkcija PuniSlog. potrebno je napunit IBSQL1:\r" + dlg.IBSQL1.text()});
        QVERIFY(dlg.IBSQL1.text().startsWith("INSERT INTO KORISNICI ( IDKORISNIKA"));
        QCOMPARE(dlg.Tag, -1);
        dlg.BSnimiClick();
        QVERIFY(dlg.isVisible());
        QCOMPARE(e.scalar("select count(*) from KORISNICI").toInt(), 0);
    }

    void traceShowsTheStatement()
    {
        Env e;
        TestEditor dlg(nullptr, "KORISNICI", "IDKORISNIKA", {5});
        dlg.TraceStatements = true;
        dlg.LoadRecord();
        QCOMPARE(e.dialogs.texts("plain"),
                 QStringList{" SELECT * FROM KORISNICI\r\nWHERE    IDKORISNIKA=:IDKORISNIKA\n\r Parametri:IDKORISNIKA=5\r"});
    }

    // The UPDATE finds its row by the key the dialog was opened with, so a changed key column
    // is saved; a row deleted meanwhile is reported and the dialog stays open.
    void updateByOpenedKey()
    {
        Env e;
        e.d.exec({kService});
        TestEditor dlg(nullptr, "SERVISI", "IDVOZILA;DATUM;SERVISER", {1, QDate(2024, 3, 1), "Ante"});
        dlg.Tag = 0;
        dlg.show();
        dlg.row = service("Marko", "Veliki servis");
        dlg.BSnimiClick();
        QVERIFY(!dlg.isVisible());
        QCOMPARE(dlg.result(), int(QDialog::Accepted));
        QCOMPARE(e.scalar("select count(*) from SERVISI").toInt(), 1);
        QCOMPARE(e.scalar("select SERVISER from SERVISI").toString(), QString("Marko"));
        QCOMPARE(e.scalar("select OPIS from SERVISI").toString(), QString("Veliki servis"));
        QVERIFY(e.dialogs.texts("warning").isEmpty());

        // the row vanishes under the dialog
        dlg.KeyValue = {1, QDate(2024, 3, 1), "Marko"};
        dlg.Tag = 0;
        dlg.show();
        e.d.exec({"delete from SERVISI"});
        dlg.row = service("Marko");
        dlg.BSnimiClick();
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.Tag, 0);
        QCOMPARE(e.dialogs.texts("warning"), QStringList{TFRepUnos::rowMissingOnUpdateText()});
        QCOMPARE(e.scalar("select count(*) from SERVISI").toInt(), 0);
        QVERIFY(!e.dm.IBTransaction1.isActive());

        e.dialogs.clear();
        dlg.BBrisanjeClick();
        QVERIFY(dlg.isVisible());
        QCOMPARE(e.dialogs.texts("warning"), QStringList{TFRepUnos::rowMissingOnDeleteText()});
    }

    // A key column beyond the elements of a single KeyValue is found by the value PuniSlog gives.
    void updateWithSingleValueForSeveralKeys()
    {
        Env e;
        e.d.exec({kService});
        TestEditor dlg(nullptr, "SERVISI", "IDVOZILA;DATUM;SERVISER", 1);
        dlg.Tag = 0;
        dlg.row = service("Ante", "Promjena ulja");
        dlg.LoadRecord();
        QCOMPARE(dlg.SaveRecord(), 0);
        QCOMPARE(e.scalar("select OPIS from SERVISI").toString(), QString("Promjena ulja"));
    }

    // A statement the server refuses propagates its error; the write transaction is rolled
    // back at once and the dialog keeps its state.
    void refusedStatementRollsBack_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow("duplicate key") << "Ana";
        QTest::newRow("text longer than its column") << QString(71, QChar('x'));
        QTest::newRow("empty NOT NULL column") << QString();
    }
    void refusedStatementRollsBack()
    {
        QFETCH(QString, name);
        Env e;
        e.d.exec({"insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) values (1, 'Ana', 'NE', 'Ilica 1')"});
        TestEditor dlg(nullptr, "KORISNICI", "IDKORISNIKA", {-1});
        dlg.Tag = -1;
        dlg.show();
        dlg.row = customer(name);
        dlg.row["IDKORISNIKA"] = name == "Ana" ? 1 : 2;
        if (name.isEmpty()) dlg.row.remove("NAZIV_KORISNIKA");
        QVERIFY_THROWS_EXCEPTION(db::DbError, dlg.BSnimiClick());
        QVERIFY(!e.dm.IBTransaction1.isActive());
        QVERIFY(dlg.isVisible());
        QCOMPARE(dlg.Tag, -1);
        QCOMPARE(e.scalar("select count(*) from KORISNICI").toInt(), 1);
        // the next save goes through in a fresh transaction
        dlg.row = customer("Boris");
        dlg.row["IDKORISNIKA"] = 5;
        dlg.BSnimiClick();
        QCOMPARE(e.scalar("select count(*) from KORISNICI").toInt(), 2);
    }

    // A refused generator-drawn insert uses up the key.
    void failedInsertLeavesGeneratorGap()
    {
        Env e;
        TestEditor dlg(nullptr, "KORISNICI", "IDKORISNIKA", {-1});
        dlg.generator = "GEN_KORISNICI_ID";
        dlg.generatorColumn = "IDKORISNIKA";
        dlg.Tag = -1;
        dlg.show();
        dlg.row = customer(QString(80, QChar('x')));
        QVERIFY_THROWS_EXCEPTION(db::DbError, dlg.BSnimiClick());
        dlg.row = customer("Ana");
        dlg.BSnimiClick();
        QCOMPARE(e.scalar("select IDKORISNIKA from KORISNICI").toInt(), 2);
    }

    // The modal showing of a constructed dialog: OK after a save, cancel with "Otkaži";
    // a failure in the show sequence reaches the standard error box.
    void modalShowing()
    {
        Env e;
        TestEditor dlg(nullptr, "KORISNICI", "IDKORISNIKA", {-1});
        dlg.Tag = -1;
        dlg.row = customer("Ana");
        dlg.row["IDKORISNIKA"] = 4;
        QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.BSnimi, Qt::LeftButton); });
        QCOMPARE(dlg.exec(), int(QDialog::Accepted));
        QCOMPARE(e.scalar("select count(*) from KORISNICI").toInt(), 1);

        dlg.KeyValue = {4};
        dlg.Tag = 4;
        QTimer::singleShot(0, &dlg, [&] { QTest::mouseClick(dlg.BIzlaz, Qt::LeftButton); });
        QCOMPARE(dlg.exec(), int(QDialog::Rejected));
        QCOMPARE(dlg.loaded.value("NAZIV_KORISNIKA").toString(), QString("Ana"));

        dlg.TableName = "NEPOSTOJECA";
        QTimer::singleShot(0, &dlg, [&] { dlg.reject(); });
        dlg.exec();
        QCOMPARE(e.dialogs.texts("error").size(), 1);
        QVERIFY(!e.dm.IBTransaction1.isActive());
    }
};

QTEST_MAIN(TstRepUnos)
#include "tst_repunos.moc"
