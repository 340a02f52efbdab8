// Datasets: navigation, fields, edit states, change callbacks, held changes with OLD_
// parameters, the required-field check and the table model.
#include "db/datamodule.h"
#include "db/datasetmodel.h"
#include "testdb.h"
#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace db;
using testing_support::TempDatabase;

static const QStringList kColours{
    "insert into BOJE values (255, 'Crvena')", "insert into BOJE values (65280, 'Zelena')",
    "insert into BOJE values (16711680, 'Plava')", "insert into BOJE values (0, 'Crna')"};

class TstDataset : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia)); }

    void navigationAndPositions()
    {
        TempDatabase d;
        d.exec(kColours);
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.Read);
        q.sql() << "select * from BOJE" << "order by boja";
        q.open();
        QCOMPARE(q.recordCount(), 4);
        QVERIFY(q.bof() && !q.eof());
        QCOMPARE(q.value("NAZIV_BOJE").toString(), QString("Crna"));
        QStringList seen;
        for (q.first(); !q.eof(); q.next()) seen << q.value("NAZIV_BOJE").toString();
        QCOMPARE(seen, (QStringList{"Crna", "Crvena", "Zelena", "Plava"}));
        QCOMPARE(q.recNo(), 3);
        q.prior();
        QCOMPARE(q.recNo(), 2);
        int remembered = q.recNo();
        q.first();
        q.setRecNo(remembered);
        QCOMPARE(q.value("BOJA").toInt(), 65280);
        q.setRecNo(99);
        QCOMPARE(q.recNo(), 3);   // clamped to the last row
        q.last();
        QVERIFY(q.eof());
        QCOMPARE(q.fieldNames(), (QStringList{"BOJA", "NAZIV_BOJE"}));
        QCOMPARE(q.field("NAZIV_BOJE").origin(), QString("\"BOJE\".\"NAZIV_BOJE\""));
        QVERIFY(q.field("BOJA").isRequired());
        QCOMPARE(q.field("NAZIV_BOJE").size(), 20);
    }

    void fieldSettingsSurviveReopening()
    {
        TempDatabase d;
        d.exec(kColours);
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.Read);
        q.setSql("select BOJA, NAZIV_BOJE, BOJA / 256 as ZELENO from BOJE order by BOJA");
        q.define("NAZIV_BOJE").setTitle("Naziv boje").setDisplayWidth(20);
        q.define("BOJA").setVisible(false);
        q.addCalculated("DULJINA", FieldType::Integer).setTitle("Duljina");
        q.onCalcFields = [](Dataset& ds) { ds.setValue("DULJINA", int(ds.value("NAZIV_BOJE").toString().size())); };
        q.open();
        QCOMPARE(q.field("NAZIV_BOJE").title(), QString("Naziv boje"));
        QVERIFY(q.field("ZELENO").origin().isEmpty());   // an expression: no table column
        QCOMPARE(q.field("DULJINA").kind(), Field::Kind::Calculated);
        QVERIFY(!q.field("DULJINA").isData());
        QCOMPARE(q.value("DULJINA").toInt(), 4);   // "Crna"
        q.close();
        q.open();
        QCOMPARE(q.field("NAZIV_BOJE").title(), QString("Naziv boje"));
        QVERIFY(!q.field("BOJA").isVisible());
        QCOMPARE(q.fieldNames(), (QStringList{"BOJA", "NAZIV_BOJE", "ZELENO", "DULJINA"}));
    }

    void editStatesAndChangeCallbacks()
    {
        TempDatabase d;
        d.exec(kColours);
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.Read);
        q.setSql("select * from BOJE order by BOJA");
        QStringList events;
        q.define("NAZIV_BOJE").setOnChange([&](Field& f) {
            events << "naziv:" + f.asString();
            f.dataset()->setValue("BOJA", 1);   // runs inside the assignment, nested
        });
        q.define("BOJA").setOnChange([&](Field& f) { events << "boja:" + f.asString(); });
        q.open();
        QVERIFY_THROWS_EXCEPTION(DbError, q.setValue("NAZIV_BOJE", "x"));   // browse state
        q.edit();
        QCOMPARE(q.state(), Dataset::State::Edit);
        q.setValue("NAZIV_BOJE", "Ugljen");
        QCOMPARE(events, (QStringList{"naziv:Ugljen", "boja:1"}));
        q.cancel();
        QCOMPARE(q.value("NAZIV_BOJE").toString(), QString("Crna"));
        QCOMPARE(q.value("BOJA").toInt(), 0);
        q.edit();
        q.setValue("NAZIV_BOJE", "Ugljen");
        q.post();
        QCOMPARE(q.state(), Dataset::State::Browse);
        QCOMPARE(q.value("NAZIV_BOJE").toString(), QString("Ugljen"));
        QVERIFY(!q.updatesPending());   // no cached updates: nothing held
    }

    void oneRowHolderOverAnEmptyQuery()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        Dataset holder(&dm.DB, &dm.Read);
        holder.sql() << "select * from VOZILA" << "where IDVOZILA=-99";
        holder.open();
        QVERIFY(holder.isEmpty());
        holder.append();
        QCOMPARE(holder.state(), Dataset::State::Insert);
        holder.setValue("BOJA", 255);
        QCOMPARE(holder.value("BOJA").toInt(), 255);
        QVERIFY(holder.value("MARKA").isNull());
    }

    void heldChangesWithOldParameters()
    {
        TempDatabase d;
        d.exec(kColours);
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.IBTransaction3);
        q.sql() << "select * from BOJE" << "order by boja";
        q.setCachedUpdates(true);
        q.setInsertSql({"insert into BOJE", "  (BOJA, NAZIV_BOJE)", "values", "  (:BOJA, :NAZIV_BOJE)"});
        q.setDeleteSql({"delete from BOJE", "where", "  BOJA = :OLD_BOJA"});
        q.setModifySql({"update BOJE", "set", "  BOJA = :BOJA,", "  NAZIV_BOJE = :NAZIV_BOJE", "where", "  BOJA = :OLD_BOJA"});
        q.open();
        q.append();
        q.setValue("BOJA", 12345);
        q.setValue("NAZIV_BOJE", "Smeđa");
        q.post();
        QVERIFY(q.updatesPending());
        q.setRecNo(1);   // Crvena (255): change its key, found by the OLD_ value
        q.edit();
        q.setValue("BOJA", 254);
        q.post();
        q.first();       // Crna (0): delete
        q.remove();
        q.applyUpdates();
        QVERIFY(!q.updatesPending());
        dm.IBTransaction3.commit();
        Connection c;
        d.connect(c);
        Transaction t(&c);
        Dataset check(&c, &t);
        check.setSql("select BOJA, NAZIV_BOJE from BOJE order by BOJA");
        check.open();
        QStringList rows;
        for (; !check.eof(); check.next()) rows << check.value("BOJA").toString() + "=" + check.value("NAZIV_BOJE").toString();
        QCOMPARE(rows, (QStringList{"254=Crvena", "12345=Smeđa", "65280=Zelena", "16711680=Plava"}));
    }

    void refusedApplyKeepsTheRowHeld()
    {
        TempDatabase d;
        d.exec(kColours);
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.IBTransaction3);
        q.setSql("select * from BOJE order by boja");
        q.setCachedUpdates(true);
        q.setInsertSql({"insert into BOJE (BOJA, NAZIV_BOJE) values (:BOJA, :NAZIV_BOJE)"});
        q.open();
        q.append();
        q.setValue("BOJA", 0);   // already there
        q.setValue("NAZIV_BOJE", "Druga crna");
        q.post();
        QVERIFY_THROWS_EXCEPTION(DbError, q.applyUpdates());
        QVERIFY(q.updatesPending());
        q.cancelUpdates();
        QVERIFY(!q.updatesPending());
        QCOMPARE(q.recordCount(), 4);
    }

    void requiredFieldCheckNamesTheTitle()
    {
        TempDatabase d;
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.IBTransaction3);
        q.setSql("select * from BOJE");
        q.define("NAZIV_BOJE").setTitle("Naziv boje");
        q.setCachedUpdates(true);
        q.open();
        q.append();
        q.setValue("BOJA", 5);
        q.setValue("NAZIV_BOJE", "");   // an empty text is no value
        try { q.post(); QFAIL("posted without a name"); }
        catch (const DbError& e) { QCOMPARE(e.message(), QString("Polje 'Naziv boje' mora imati vrijednost.")); }
        QCOMPARE(q.state(), Dataset::State::Insert);
        QVERIFY_THROWS_EXCEPTION(DbError, [&] { q.cancel(); q.first(); q.remove(); }());   // empty list
    }

    void textsBlobsDatesAndAmounts()
    {
        TempDatabase d;
        d.exec({"insert into VOZILA values (1, 'Škoda', 'Octavia', 0, '1.6 TDI', 'TMB123', 'DA', 'Prvi red\r\nDrugi red č')",
                "insert into REGOZ values ('ZG123AB', 1, '2026-01-01', '2026-12-31', 12345.5, null)",
                "insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA, RABAT) values (1, 'Ana', 'NE', 'Ilica 1', 5)"});
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.Read);
        q.setSql("select v.DETALJNO, r.REGOZNAKA, r.VRIJEDI_OD, r.STANJEKM, cast('2026-03-04 10:30:00' as timestamp) as T "
                 "from VOZILA v join REGOZ r on r.IDVOZILA = v.IDVOZILA where r.REGOZNAKA = :P");
        q.setParam("P", "ZG123AB");      // unpadded comparison with the CHAR(10) plate
        q.open();
        QCOMPARE(q.recordCount(), 1);
        QCOMPARE(q.value("DETALJNO").toString(), QString("Prvi red\r\nDrugi red č"));
        QCOMPARE(q.field("DETALJNO").type(), FieldType::Memo);
        QCOMPARE(q.value("REGOZNAKA").toString(), QString("ZG123AB   "));   // blank-padded to 10
        QCOMPARE(q.value("VRIJEDI_OD").toDate(), QDate(2026, 1, 1));
        QCOMPARE(q.value("T").toDateTime(), QDateTime(QDate(2026, 3, 4), QTime(10, 30)));
        q.field("STANJEKM").setDisplayFormat("###,###,##0");
        QCOMPARE(q.field("STANJEKM").displayText(), QString("12.346"));   // 12345.5 -> even 12346
        q.field("STANJEKM").setDisplayFormat("###,###,##0.00");
        QCOMPARE(q.field("STANJEKM").displayText(), QString("12.345,50"));
        QCOMPARE(q.field("STANJEKM").alignment(), Field::Align::Right);
    }

    void modelFollowsTheDataset()
    {
        TempDatabase d;
        d.exec(kColours);
        TDataModule1 dm;
        d.connect(dm);
        Dataset q(&dm.DB, &dm.Read);
        q.setSql("select * from BOJE order by BOJA");
        q.define("NAZIV_BOJE").setTitle("Naziv boje");
        DatasetModel model;
        QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
        model.setDataset(&q);
        QCOMPARE(model.rowCount(), 0);
        q.open();
        QCOMPARE(model.rowCount(), 4);
        QCOMPARE(model.columnCount(), 2);
        QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QString("Naziv boje"));
        QCOMPARE(model.data(model.index(1, 1)).toString(), QString("Crvena"));
        model.setColumns({{"NAZIV_BOJE", "Boja", 80}});
        QCOMPARE(model.columnCount(), 1);
        QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QString("Boja"));
        q.disableControls();
        q.close();
        QCOMPARE(model.rowCount(), 4);   // display updates suspended
        q.enableControls();
        QCOMPARE(model.rowCount(), 0);
        q.open();
        QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
        q.edit();
        q.setValue("NAZIV_BOJE", "Antracit");
        QVERIFY(changed.count() >= 1);
        QCOMPARE(model.data(model.index(0, 0)).toString(), QString("Antracit"));
    }
};

QTEST_GUILESS_MAIN(TstDataset)
#include "tst_dataset.moc"
