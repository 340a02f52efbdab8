// The find dialog: its window and controls, the match rules as one table of cases driven
// through its buttons, long-text fields, a non-numeric search on a decimal field, and the
// grid centred on the found row.
#include "db/datamodule.h"
#include "framework/dialogs.h"
#include "framework/frgrid.h"
#include "framework/locate.h"
#include "testdb.h"
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>

using fw::TFLocate;
using testing_support::TempDatabase;

namespace {

struct Env {
    TempDatabase d;
    db::TDataModule1 dm;
    fw::ScriptedDialogs dialogs;
    db::Dataset query{&dm.DB, &dm.Read};
    QWidget window;
    Env()
    {
        auto row = [](int id, const QString& name, const QString& osobna, const QString& putovnica, const QString& rabat) {
            return QString("insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA, "
                           "OSOBNA_IZDANA_U, PUTOVNICA_IZDANA_U, VOZACKA_IZDANA_U, RABAT) values (%1, '%2', 'NE', 'Ilica', %3, %4, 'Zadar', %5)")
                .arg(id).arg(name, osobna, putovnica, rabat);
        };
        d.exec({row(1, "Ana", "'Zagreb'", "NULL", "1000"), row(2, "ANA", "'Split'", "NULL", "5.5"),
                row(3, "ana", "NULL", "'Pula'", "NULL"), row(4, "Željko Čović", "'Zagreb'", "NULL", "0"),
                row(5, "Boris", "'Rijeka'", "NULL", "1000.00"), row(6, "Anamarija", "'Osijek'", "NULL", "12.25")});
        d.connect(dm);
        fw::installDialogs(&dialogs);
        query.sql() << "select *" << "from KORISNICI" << "order by IDKORISNIKA";
        query.define("IDKORISNIKA").setTitle("##");
        query.define("NAZIV_KORISNIKA").setTitle("Naziv korisnika");
        query.define("OSOBNA_IZDANA_U").setTitle("Izdana u");
        query.define("PUTOVNICA_IZDANA_U").setTitle("Izdana u");
        query.define("VOZACKA_IZDANA_U").setTitle("Izdana u");
        query.define("RABAT").setTitle("Rabat");
        query.open();
    }
    ~Env() { fw::installDialogs(nullptr); }
};

} // namespace

class TstLocate : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia)); }

    void windowAndControls()
    {
        Env e;
        TFLocate f(&e.window, &e.query);
        QVERIFY(f.windowFlags() & Qt::Tool);
        QVERIFY(f.windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(!f.isModal());
        QCOMPARE(f.FieldsGroup->title(), QString("&Polja"));
        QCOMPARE(f.FieldValueGroup->title(), QString("&Vrijednost"));
        QCOMPARE(f.SearchTypeGroup->title(), QString("&Način pretraživanja"));
        QCOMPARE(f.CaseSensitiveCheckBox->text(), QString("&Razlikuje velika/mala slova"));
        QCOMPARE(f.ExactMatchBtn->text(), QString("P&olje=uzorak"));
        QCOMPARE(f.PartialMatchStartBtn->text(), QString("&Uzorak na početku polja"));
        QCOMPARE(f.PartialMatchAnyBtn->text(), QString("Uzorak unu&tar polja"));
        QCOMPARE(f.FirstButton->text(), QString("Pr&vi"));
        QCOMPARE(f.NextButton->text(), QString("&Sljedeći"));
        QVERIFY(f.NextButton->isDefault());
        QVERIFY(!f.CaseSensitiveCheckBox->isChecked());
        QVERIFY(f.PartialMatchStartBtn->isChecked());
        QVERIFY(!f.FieldNameComboBox->isEditable());
        f.PrepareFind();
        QVERIFY(f.isVisible());
        QCOMPARE(f.pos(), f.screen()->availableGeometry().topLeft());
        // every visible field by title, in field order, also those a grid might not show
        QCOMPARE(f.FieldNameComboBox->count(), e.query.fieldCount());
        QCOMPARE(f.FieldNameComboBox->itemText(0), QString("##"));
        QCOMPARE(f.FieldNameComboBox->itemText(1), QString("Naziv korisnika"));
        e.query.field("MBR").setVisible(false);
        f.PrepareFind();
        QCOMPARE(f.FieldNameComboBox->count(), e.query.fieldCount() - 1);

        if (QString dir = qEnvironmentVariable("KAVOR_SCREENSHOT_DIR"); !dir.isEmpty()) {
            QDir().mkpath(dir);
            f.FieldNameComboBox->setCurrentIndex(1);
            f.SearchValue->setText("Ana");
            f.grab().save(dir + "/find-dialog.png");
        }
    }

    void search_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<int>("entry");          // which entry with that title
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("caseSensitive");
        QTest::addColumn<int>("startRow");
        QTest::addColumn<bool>("fromFirst");
        QTest::addColumn<int>("endRow");          // -1: nothing found, the list stays at startRow
        const int X = TFLocate::Exact, S = TFLocate::AtStart, A = TFLocate::Anywhere;
        const QString N = "Naziv korisnika";
        QTest::newRow("first tests the first row itself") << N << 0 << "Ana" << S << false << 3 << true << 0;
        QTest::newRow("next starts after the current row") << N << 0 << "Ana" << S << false << 0 << false << 1;
        QTest::newRow("ana finds ANA without case") << N << 0 << "ana" << X << false << 0 << false << 1;
        QTest::newRow("with case only ana") << N << 0 << "ana" << X << true << 0 << true << 2;
        QTest::newRow("with case ANA") << N << 0 << "ANA" << X << true << 0 << true << 1;
        QTest::newRow("Croatian letters without case") << N << 0 << "čović" << A << false << 0 << true << 3;
        QTest::newRow("Croatian letters with case") << N << 0 << "čović" << A << true << 2 << true << -1;
        QTest::newRow("at the start only") << N << 0 << "marija" << S << false << 0 << true << -1;
        QTest::newRow("anywhere") << N << 0 << "marija" << A << false << 0 << true << 5;
        QTest::newRow("empty pattern partial") << N << 0 << "" << S << false << 0 << true << -1;
        QTest::newRow("empty pattern exact finds an empty value") << "Izdana u" << 0 << "" << X << false << 0 << true << 2;
        QTest::newRow("integer exact compares text") << "##" << 0 << "5" << X << false << 0 << true << 4;
        QTest::newRow("integer 05 is not 5") << "##" << 0 << "05" << X << false << 0 << true << -1;
        QTest::newRow("decimal exact is numeric") << "Rabat" << 0 << "1000" << X << false << 3 << true << 0;
        QTest::newRow("decimal exact, next match") << "Rabat" << 0 << "1000" << X << false << 0 << false << 4;
        QTest::newRow("decimal with comma") << "Rabat" << 0 << "5,5" << X << false << 0 << true << 1;
        QTest::newRow("decimal with grouping") << "Rabat" << 0 << "1.000,00" << X << false << 3 << true << 0;
        QTest::newRow("decimal zero skips empty values") << "Rabat" << 0 << "0" << X << false << 0 << true << 3;
        QTest::newRow("decimal partial compares text") << "Rabat" << 0 << "12," << S << false << 0 << true << 5;
        QTest::newRow("next on the last row") << N << 0 << "Ana" << S << false << 5 << false << -1;
        QTest::newRow("next after the last match") << N << 0 << "ANA" << X << true << 1 << false << -1;
        QTest::newRow("shared title searches the first such column") << "Izdana u" << 1 << "Pula" << X << false << 0 << true << -1;
        QTest::newRow("shared title, third entry") << "Izdana u" << 2 << "Split" << X << false << 0 << true << 1;
    }
    void search()
    {
        QFETCH(QString, title);
        QFETCH(int, entry);
        QFETCH(QString, text);
        QFETCH(int, mode);
        QFETCH(bool, caseSensitive);
        QFETCH(int, startRow);
        QFETCH(bool, fromFirst);
        QFETCH(int, endRow);
        Env e;
        TFLocate f(&e.window, &e.query);
        f.PrepareFind();
        int index = -1;
        for (int i = 0, seen = 0; i < f.FieldNameComboBox->count(); ++i)
            if (f.FieldNameComboBox->itemText(i) == title && seen++ == entry) index = i;
        QVERIFY(index >= 0);
        f.FieldNameComboBox->setCurrentIndex(index);
        f.SearchValue->setText(text);
        f.CaseSensitiveCheckBox->setChecked(caseSensitive);
        (mode == TFLocate::Exact ? f.ExactMatchBtn : mode == TFLocate::AtStart ? f.PartialMatchStartBtn : f.PartialMatchAnyBtn)->setChecked(true);
        e.query.setRecNo(startRow);
        (fromFirst ? f.FirstButton : f.NextButton)->click();
        QCOMPARE(e.query.recNo(), endRow < 0 ? startRow : endRow);
        QCOMPARE(e.dialogs.texts(), endRow < 0 ? QStringList{"Ništa nije nađeno."} : QStringList{});
        if (endRow < 0) QCOMPARE(e.dialogs.shown[0].kind, QString("information"));
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!e.query.controlsDisabled());
    }

    void walkThroughAllMatches()
    {
        Env e;
        TFLocate f(&e.window, &e.query);
        f.PrepareFind();
        f.FieldNameComboBox->setCurrentIndex(1);
        f.SearchValue->setText("an");
        f.PartialMatchAnyBtn->setChecked(true);
        f.FirstButton->click();
        QList<int> rows{e.query.recNo()};
        for (int i = 0; i < 4; ++i) {
            f.NextButton->click();
            rows << e.query.recNo();
        }
        QCOMPARE(rows, (QList<int>{0, 1, 2, 5, 5}));
        QCOMPARE(e.dialogs.texts(), QStringList{"Ništa nije nađeno."});
    }

    void noFieldChosen()
    {
        Env e;
        TFLocate f(&e.window, &e.query);
        f.PrepareFind();
        f.FieldNameComboBox->setCurrentIndex(-1);
        f.SearchValue->setText("Ana");
        e.query.setRecNo(2);
        f.FirstButton->click();
        QCOMPARE(e.query.recNo(), 2);
        QCOMPARE(e.dialogs.texts(), QStringList{"Ništa nije nađeno."});
        QVERIFY(!f.LocateRecord(&e.query, "NEMA", "x", true, false, TFLocate::AtStart));
        QCOMPARE(e.dialogs.texts().last(), QString(" Polje NEMA nije nađeno."));
    }

    void nonNumericTextOnDecimalField()
    {
        Env e;
        TFLocate f(&e.window, &e.query);
        f.PrepareFind();
        f.FieldNameComboBox->setCurrentIndex(f.FieldNameComboBox->findText("Rabat"));
        f.ExactMatchBtn->setChecked(true);
        f.SearchValue->setText("abc");
        e.query.setRecNo(3);
        f.FirstButton->click();
        QCOMPARE(e.query.recNo(), 3);
        QCOMPARE(e.dialogs.texts("error"), QStringList{"'abc' nije ispravna brojčana vrijednost."});
        QCOMPARE(e.dialogs.texts().size(), 1);
        QVERIFY(!QApplication::overrideCursor());
        QVERIFY(!e.query.controlsDisabled());
    }

    // "Pr&vi" tests the first row for long-text fields too.
    void longTextFirstRow()
    {
        Env e;
        e.d.exec({"insert into VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, DETALJNO) values (1, 'Škoda', 'Fabia', 0, 'M', 'S', 'Klima, ABS')",
                  "insert into VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, DETALJNO) values (2, 'VW', 'Polo', 0, 'M', 'S', 'Klima')"});
        db::Dataset vozila(&e.dm.DB, &e.dm.Read);
        vozila.setSql("select * from VOZILA order by IDVOZILA");
        vozila.open();
        QCOMPARE(vozila.field("DETALJNO").type(), db::FieldType::Memo);
        TFLocate f(&e.window, &vozila);
        f.PrepareFind();
        QVERIFY(f.FieldNameComboBox->findText("DETALJNO") >= 0);
        vozila.setRecNo(1);
        QVERIFY(f.LocateRecord(&vozila, "DETALJNO", "klima", true, false, TFLocate::AtStart));
        QCOMPARE(vozila.recNo(), 0);
    }

    void gridCentredOnTheFoundRow()
    {
        TempDatabase d;
        QStringList sql;
        for (int i = 1; i <= 200; ++i)
            sql << QString("insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) values (%1, 'Kupac %1', 'NE', 'X')").arg(i);
        d.exec(sql);
        db::TDataModule1 dm;
        d.connect(dm);
        fw::ScriptedDialogs dialogs;
        fw::installDialogs(&dialogs);
        db::Dataset q(&dm.DB, &dm.Read);
        q.setSql("select * from KORISNICI order by IDKORISNIKA");
        QWidget window;
        auto* frame = new fw::TFrGrid(&window);
        frame->setDataSet(&q);
        frame->setColumns({{"IDKORISNIKA", "##", 40}, {"NAZIV_KORISNIKA", "Naziv korisnika", 200}});
        q.open();
        window.resize(400, 300);
        frame->resize(400, 300);
        window.show();
        frame->PronadjiClick();
        TFLocate* f = frame->FindDialog();
        f->FieldNameComboBox->setCurrentIndex(1);
        f->SearchValue->setText("Kupac 150");
        f->ExactMatchBtn->setChecked(true);
        f->FirstButton->click();
        QCOMPARE(q.recNo(), 149);
        QCOMPARE(frame->Grid->currentIndex().row(), 149);
        const QRect cell = frame->Grid->visualRect(frame->DataSource1()->index(149, 1));
        const int middle = frame->Grid->viewport()->height() / 2;
        // the view scrolls by whole rows, so "centred" is within a row or two of the middle
        QVERIFY2(std::abs(cell.center().y() - middle) <= 2 * cell.height(), qPrintable(QString("%1 %2 %3").arg(cell.center().y()).arg(middle).arg(cell.height())));
        fw::installDialogs(nullptr);
    }
};

QTEST_MAIN(TstLocate)
#include "tst_locate.moc"
