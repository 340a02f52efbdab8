// The list frame and its themed grid: title sorting through the order clause, refreshing to
// the same row number, the popup menu, the find dialog kept, the current row in both
// directions, column definitions, the drawing and double-click hooks, and the title looks.
#include "db/datamodule.h"
#include "framework/dialogs.h"
#include "framework/frgrid.h"
#include "framework/locate.h"
#include "testdb.h"
#include <QAbstractItemModelTester>
#include <QAction>
#include <QApplication>
#include <QMouseEvent>
#include <QComboBox>
#include <QDir>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using fw::TFrGrid;
using testing_support::TempDatabase;

namespace {

const QStringList kNames{"Ivana", "ana", "Željko", "Boris", "Čedo", "Marko", "Dora", "Ema", "Hrvoje", "Goran"};

struct Env {
    TempDatabase d;
    db::TDataModule1 dm;
    fw::ScriptedDialogs dialogs;
    db::Dataset query{&dm.DB, &dm.Read};
    QWidget window;
    TFrGrid* frame = new TFrGrid(&window);
    explicit Env(int customers = 10)
    {
        QStringList sql;
        for (int i = 0; i < customers; ++i)
            sql << QString("insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA, E_MAIL, RABAT) "
                           "values (%1, '%2', 'NE', 'Ulica %1', '%3@mail.hr', %4)")
                       .arg(i + 1).arg(kNames[i % kNames.size()]).arg(QChar('z' - i)).arg(i * 1000 + 0.5);
        if (!sql.isEmpty()) d.exec(sql);
        d.connect(dm);
        fw::installDialogs(&dialogs);
        query.sql() << "select *" << "from KORISNICI";
        frame->setDataSet(&query);
        frame->setColumns({{"IDKORISNIKA", "##", 39},
                           {"NAZIV_KORISNIKA", "Naziv korisnika"},
                           {"E_MAIL", "e-mail", 0, {}, Qt::AlignHCenter},
                           {"RABAT", "Rabat", 80, Qt::AlignRight, Qt::AlignRight, "###,###,##0.00"}});
        query.open();
        window.resize(600, 300);
        frame->resize(600, 300);
    }
    ~Env() { fw::installDialogs(nullptr); }
    QStringList names()
    {
        QStringList out;
        for (int i = 0; i < query.recordCount(); ++i) out << query.valueAt(i, query.field("NAZIV_KORISNIKA")).toString();
        return out;
    }
    QImage titleImage(int column)
    {
        fw::TThemeHeaderView* h = frame->Grid->titleHeader();
        QImage all = h->grab().toImage();
        return all.copy(h->sectionViewportPosition(column), 0, h->sectionSize(column), h->height());
    }
};

void mouse(QWidget* w, QEvent::Type type, const QPoint& pos, Qt::MouseButton button = Qt::NoButton)
{
    Qt::MouseButtons buttons = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button) : Qt::MouseButtons();
    QMouseEvent ev(type, QPointF(pos), QPointF(w->mapToGlobal(pos)), button, buttons, Qt::NoModifier);
    QApplication::sendEvent(w, &ev);
}

} // namespace

class TstFrGrid : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::Croatian, QLocale::Croatia)); }

    void modelStaysConsistent()
    {
        Env e;
        QAbstractItemModelTester tester(e.frame->DataSource1(), QAbstractItemModelTester::FailureReportingMode::QtTest);
        e.frame->GridTitleClick(1);
        e.frame->RefreshList();
        e.d.exec({"delete from KORISNICI where IDKORISNIKA > 5"});
        e.frame->RefreshList();
        e.query.close();
        e.query.open();
        QCOMPARE(e.frame->DataSource1()->rowCount(), 5);
    }

    void titleClicksSortAscendingThenDescending()
    {
        Env e;
        e.frame->GridTitleClick(1);
        QCOMPARE(e.frame->OrderClause, QString("ORDER BY \"KORISNICI\".\"NAZIV_KORISNIKA\" ASC "));
        QCOMPARE(e.query.sql(), (QStringList{"select *", "from KORISNICI", " ORDER BY \"KORISNICI\".\"NAZIV_KORISNIKA\" ASC "}));
        QCOMPARE(e.names().first(), QString("Boris"));
        e.frame->GridTitleClick(1);
        QVERIFY(!e.frame->SortAscending);
        QCOMPARE(e.frame->OrderClause, QString("ORDER BY \"KORISNICI\".\"NAZIV_KORISNIKA\" DESC "));
        QCOMPARE(e.query.sql().size(), 3);
        QCOMPARE(e.names().last(), QString("Boris"));
        e.frame->GridTitleClick(1);
        QVERIFY(e.frame->SortAscending);
        // another title in between starts again at ascending
        e.frame->GridTitleClick(1);
        QVERIFY(!e.frame->SortAscending);
        e.frame->GridTitleClick(2);
        QVERIFY(e.frame->SortAscending);
        QCOMPARE(e.frame->SortFieldName, QString("E_MAIL"));
        QCOMPARE(e.names().first(), QString("Goran"));      // 'q@mail.hr' is the smallest
        e.frame->GridTitleClick(1);
        QVERIFY(e.frame->SortAscending);
        QCOMPARE(e.frame->SortFieldName, QString("NAZIV_KORISNIKA"));
        QVERIFY(e.dialogs.shown.empty());
    }

    void sortByFieldNameWhenOriginBlank()
    {
        Env e;
        e.query.field("NAZIV_KORISNIKA").setOrigin("  ");
        e.frame->GridTitleClick(1);
        QCOMPARE(e.frame->OrderClause, QString("ORDER BY NAZIV_KORISNIKA ASC "));
        QCOMPARE(e.names().first(), QString("Boris"));
    }

    void replaceOrderBy_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("clause");
        QTest::addColumn<QStringList>("lines");
        const QString k = "ORDER BY NAZIV_KORISNIKA ASC ";
        QTest::newRow("none: appended after the last line")
            << "select *\nfrom KORISNICI" << k << QStringList{"select *", "from KORISNICI", " " + k};
        QTest::newRow("old clause replaced") << "select *\nfrom KORISNICI\nORDER BY MBR DESC" << k
                                             << QStringList{"select *", "from KORISNICI", " " + k};
        QTest::newRow("lower case found") << "select *\nfrom KORISNICI\norder by MBR" << k
                                          << QStringList{"select *", "from KORISNICI", " " + k};
        QTest::newRow("two blanks not found")
            << "select *\nfrom KORISNICI\nORDER  BY MBR" << k << QStringList{"select *", "from KORISNICI", "ORDER  BY MBR", " " + k};
        QTest::newRow("within a line") << "select * from KORISNICI Order By MBR" << k
                                       << QStringList{"select * from KORISNICI  " + k};
        QTest::newRow("everything after the first dropped")
            << "select *\nfrom KORISNICI\nORDER BY MBR\n, E_MAIL\nORDER BY X" << k << QStringList{"select *", "from KORISNICI", " " + k};
        QTest::newRow("blank clause: no change") << "select *\nfrom KORISNICI\nORDER BY MBR" << "   "
                                                 << QStringList{"select *", "from KORISNICI", "ORDER BY MBR"};
    }
    void replaceOrderBy()
    {
        QFETCH(QString, text);
        QFETCH(QString, clause);
        QFETCH(QStringList, lines);
        TFrGrid frame;
        db::Dataset q;
        q.setSql(text);
        frame.ReplaceOrderBy(q, clause);
        QCOMPARE(q.sql(), lines);
    }

    void parameterisedQueryKeepsItsParameters()
    {
        Env e;
        e.query.close();
        e.query.sql() = QStringList{"select *", "from KORISNICI", "where IDKORISNIKA between :OD and :DO"};
        e.query.setParam("OD", 3);
        e.query.setParam("DO", 6);
        e.query.open();
        QCOMPARE(e.query.recordCount(), 4);
        e.frame->GridTitleClick(1);
        e.frame->GridTitleClick(1);
        QCOMPARE(e.query.recordCount(), 4);
        QCOMPARE(e.query.params().value("OD").toInt(), 3);
        QCOMPARE(e.names(), (QStringList{"Čedo", "Željko", "Marko", "Boris"}));   // by character codes, descending
    }

    void refreshReturnsToTheRowNumber()
    {
        Env e;
        e.query.last();
        QCOMPARE(e.query.recNo(), 9);
        e.d.exec({"delete from KORISNICI where IDKORISNIKA in (2, 3)"});
        e.frame->RefreshList();
        QCOMPARE(e.query.recordCount(), 8);
        QCOMPARE(e.query.recNo(), 7);
        QCOMPARE(e.frame->Grid->currentIndex().row(), 7);

        // after a new sort order the same row number holds another row
        e.query.setRecNo(2);
        const QString before = e.query.value("NAZIV_KORISNIKA").toString();
        e.frame->GridTitleClick(1);
        QCOMPARE(e.query.recNo(), 2);
        QVERIFY(e.query.value("NAZIV_KORISNIKA").toString() != before);

        e.d.exec({"delete from KORISNICI"});
        e.frame->RefreshList();
        QVERIFY(e.query.isActive());
        QCOMPARE(e.query.recNo(), -1);
        e.frame->RefreshList();
        QCOMPARE(e.query.recordCount(), 0);
    }

    void calculatedColumnRefusesSorting()
    {
        Env e;
        e.query.close();
        e.query.addCalculated("PUNI_NAZIV", db::FieldType::Text);
        e.query.onCalcFields = [](db::Dataset& ds) { ds.setValue("PUNI_NAZIV", ds.value("NAZIV_KORISNIKA").toString() + "!"); };
        e.frame->setColumns({{"NAZIV_KORISNIKA"}, {"PUNI_NAZIV", "Puni naziv"}});
        e.query.open();
        const QStringList before = e.query.sql();
        e.frame->GridTitleClick(1);
        QCOMPARE(e.dialogs.texts(), QStringList{"Polje je izračunano. Ne može se sortirati po njemu."});
        QCOMPARE(e.query.sql(), before);
        QVERIFY(e.frame->SortFieldName.isEmpty());
    }

    void badSortExpressionLeavesListClosed()
    {
        Env e;
        e.query.field("E_MAIL").setOrigin("NEMA_STUPCA");
        QVERIFY_THROWS_EXCEPTION(db::DbError, e.frame->GridTitleClick(2));
        QVERIFY(!e.query.isActive());
        QCOMPARE(e.frame->DataSource1()->rowCount(), 0);
        QVERIFY(!e.query.controlsDisabled());
    }

    void currentRowFollowsBothWays()
    {
        Env e;
        e.window.show();
        e.query.setRecNo(4);
        QCOMPARE(e.frame->Grid->currentIndex().row(), 4);
        QVERIFY(e.frame->Grid->selectionModel()->isRowSelected(4, {}));
        e.frame->Grid->setCurrentIndex(e.frame->DataSource1()->index(6, 1));
        QCOMPARE(e.query.recNo(), 6);
        const QRect cell = e.frame->Grid->visualRect(e.frame->DataSource1()->index(1, 1));
        QTest::mouseClick(e.frame->Grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(e.query.recNo(), 1);
        QVERIFY(e.frame->Grid->editTriggers() == QAbstractItemView::NoEditTriggers);
        QCOMPARE(e.frame->Grid->selectionBehavior(), QAbstractItemView::SelectRows);
        QCOMPARE(e.frame->DataSource1()->flags(e.frame->DataSource1()->index(0, 0)) & Qt::ItemIsEditable, Qt::ItemFlags());
    }

    void columnDefinitions()
    {
        Env e;
        db::DatasetModel* m = e.frame->DataSource1();
        QCOMPARE(m->columnCount(), 4);
        QCOMPARE(m->headerData(0, Qt::Horizontal).toString(), QString("##"));
        QCOMPARE(m->headerData(2, Qt::Horizontal).toString(), QString("e-mail"));
        fw::TThemeHeaderView* h = e.frame->Grid->titleHeader();
        QCOMPARE(h->sectionSize(0), 39);
        QCOMPARE(h->sectionSize(3), 80);
        QVERIFY(h->sectionSize(1) > 200);            // 70 characters in the grid's font
        QCOMPARE(h->titleAlignment(2), Qt::Alignment(Qt::AlignHCenter));
        e.query.last();
        QCOMPARE(m->data(m->index(9, 3)).toString(), QString("9.000,50"));
        QCOMPARE(m->data(m->index(9, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, int(Qt::AlignRight));
        // widths and order survive a refresh
        h->resizeSection(1, 150);
        h->moveSection(3, 0);
        e.frame->RefreshList();
        QCOMPARE(h->sectionSize(1), 150);
        QCOMPARE(h->logicalIndex(0), 3);
    }

    void popupMenuAndFindDialogKept()
    {
        Env e;
        QCOMPARE(e.frame->PopupMenu->actions().size(), 2);
        QCOMPARE(e.frame->OBnovaprikaza1->text(), QString("Obnova prikaza"));
        QCOMPARE(e.frame->Pronadji->text(), QString("Pronađi"));
        e.d.exec({"insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) values (11, 'Novi', 'NE', 'X')"});
        e.frame->OBnovaprikaza1->trigger();
        QCOMPARE(e.query.recordCount(), 11);

        QVERIFY(!e.frame->FindDialog());
        e.frame->Pronadji->trigger();
        fw::TFLocate* f = e.frame->FindDialog();
        QVERIFY(f);
        QVERIFY(f->isVisible());
        QCOMPARE(f->parentWidget(), &e.window);
        const int fields = f->FieldNameComboBox->count();
        QCOMPARE(fields, e.query.fieldCount());
        f->FieldNameComboBox->setCurrentIndex(2);
        f->hide();
        e.frame->PronadjiClick();
        QCOMPARE(e.frame->FindDialog(), f);
        QVERIFY(f->isVisible());
        QCOMPARE(f->FieldNameComboBox->currentIndex(), 2);
        QCOMPARE(f->FieldNameComboBox->count(), fields);
    }

    void findDialogOnClosedList()
    {
        Env e;
        e.query.close();
        e.frame->PronadjiClick();
        QCOMPARE(e.dialogs.texts("error"), QStringList{"DataSet nije otvoren"});
        QVERIFY(e.frame->FindDialog()->isVisible());
        QCOMPARE(e.frame->FindDialog()->FieldNameComboBox->count(), 0);
    }

    void drawingAndDoubleClickHooks()
    {
        Env e;
        e.window.show();
        e.query.setRecNo(1);
        QSet<QString> seen;
        bool selectedSeen = false;
        e.frame->Grid->OnDrawColumnCell = [&](const fw::TThemeDBGrid::DrawCell& c) {
            seen.insert(QString("%1:%2:%3").arg(c.row).arg(c.column).arg(c.field ? c.field->name() : "-"));
            if (c.selected) selectedSeen = c.row == 1;
            if (c.column == 0) c.painter->fillRect(c.rect, QColor(255, 0, 0));   // over the standard drawing
        };
        const QImage img = e.frame->Grid->viewport()->grab().toImage();
        QVERIFY(seen.contains("0:1:NAZIV_KORISNIKA"));
        QVERIFY(seen.contains("1:0:IDKORISNIKA"));
        QVERIFY(selectedSeen);
        const QRect id = e.frame->Grid->visualRect(e.frame->DataSource1()->index(0, 0));
        QCOMPARE(img.pixelColor(id.center()), QColor(255, 0, 0));

        QSignalSpy dbl(e.frame->Grid, &fw::TThemeDBGrid::DblClick);
        const QRect cell = e.frame->Grid->visualRect(e.frame->DataSource1()->index(2, 1));
        QTest::mouseDClick(e.frame->Grid->viewport(), Qt::LeftButton, {}, cell.center());
        QCOMPARE(dbl.count(), 1);
        QCOMPARE(e.query.recNo(), 2);
    }

    // Normal, hot and pressed titles look different; without the pressed look a held title
    // stays hot; without the theme there is no hot look.
    void titleLooks()
    {
        Env e;
        e.window.show();
        fw::TThemeDBGrid* g = e.frame->Grid;
        const QImage normal = e.titleImage(1);
        g->setHotColumn(1);
        const QImage hot = e.titleImage(1);
        g->setHotColumn(-1);
        g->setPressedColumn(1);
        const QImage pressed = e.titleImage(1);
        QVERIFY(normal != hot);
        QVERIFY(normal != pressed);
        QVERIFY(hot != pressed);
        g->setAllowTitleClick(false);
        const QImage heldNotPressed = e.titleImage(1);
        QVERIFY(heldNotPressed != pressed);
        g->setHotColumn(1);
        QVERIFY(e.titleImage(1) != pressed);
        QVERIFY(e.titleImage(1) != heldNotPressed);
        g->setAllowTitleClick(true);
        g->setPressedColumn(-1);
        g->setThemed(false);
        const QImage plain = e.titleImage(1);
        g->setHotColumn(1);
        QCOMPARE(e.titleImage(1), plain);
        g->setThemed(true);
        g->setHotColumn(-1);

        if (QString dir = qEnvironmentVariable("KAVOR_SCREENSHOT_DIR"); !dir.isEmpty()) {
            QDir().mkpath(dir);
            e.window.resize(1000, 260);
            e.frame->resize(1000, 260);
            e.query.setRecNo(3);
            g->setHotColumn(1);
            g->setPressedColumn(2);
            e.frame->grab().save(dir + "/grid-hot-pressed.png");
            g->setHotColumn(-1);
            g->setPressedColumn(-1);
        }
    }

    // The mouse over the titles: hot under the pointer, pressed while held, a click sorts,
    // leaving clears both.
    void titleMouseTracking()
    {
        Env e;
        e.window.show();
        fw::TThemeDBGrid* g = e.frame->Grid;
        fw::TThemeHeaderView* h = g->titleHeader();
        QWidget* vp = h->viewport();
        const QPoint onName(h->sectionViewportPosition(1) + h->sectionSize(1) / 2, h->height() / 2);
        const QPoint onMail(h->sectionViewportPosition(2) + h->sectionSize(2) / 2, h->height() / 2);
        mouse(vp, QEvent::MouseMove, onName);
        QCOMPARE(g->hotColumn(), 1);
        mouse(vp, QEvent::MouseMove, onMail);
        QCOMPARE(g->hotColumn(), 2);
        QTest::mousePress(vp, Qt::LeftButton, {}, onMail);
        QCOMPARE(g->pressedColumn(), 2);
        QCOMPARE(g->hotColumn(), -1);
        QTest::mouseRelease(vp, Qt::LeftButton, {}, onMail);
        QCOMPARE(g->pressedColumn(), -1);
        QTRY_COMPARE(e.frame->SortFieldName, QString("E_MAIL"));
        QCOMPARE(e.names().first(), QString("Goran"));

        // a press on a column border sizes instead of pressing
        const QPoint border(h->sectionViewportPosition(2) + h->sectionSize(2) - 1, h->height() / 2);
        mouse(vp, QEvent::MouseButtonPress, border, Qt::LeftButton);
        QVERIFY(g->sizing());
        QCOMPARE(g->pressedColumn(), -1);
        mouse(vp, QEvent::MouseButtonRelease, border, Qt::LeftButton);
        QVERIFY(!g->sizing());

        // without the pressed look the click still sorts
        g->setAllowTitleClick(false);
        mouse(vp, QEvent::MouseButtonPress, onName, Qt::LeftButton);
        QCOMPARE(g->pressedColumn(), -1);
        mouse(vp, QEvent::MouseButtonRelease, onName, Qt::LeftButton);
        QTRY_COMPARE(e.frame->SortFieldName, QString("NAZIV_KORISNIKA"));

        mouse(vp, QEvent::MouseMove, onName);
        QCOMPARE(g->hotColumn(), 1);
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(h, &leave);
        QCOMPARE(g->hotColumn(), -1);
        QCOMPARE(g->pressedColumn(), -1);
    }
};

QTEST_MAIN(TstFrGrid)
#include "tst_frgrid.moc"
