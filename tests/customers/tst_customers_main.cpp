// The customer windows in the running program: created at their places at start, opened from
// the main window's menu and button, and the customer counter after a new customer.
#include "app/startup.h"
#include "app/testmain.h"
#include "framework/dialogs.h"
#include "tests/shell/shelltest.h"
#include "testdb.h"
#include <QAction>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <memory>

using kavor::Startup;
using shell_test::TempStores;

class TstCustomersMain : public QObject {
    Q_OBJECT
    std::unique_ptr<TempStores> stores;
    std::unique_ptr<testing_support::TempDatabase> db;
    fw::ScriptedDialogs dialogs;

private slots:
    void initTestCase() { fw::installDialogs(&dialogs); }
    void init()
    {
        stores = std::make_unique<TempStores>();
        db = std::make_unique<testing_support::TempDatabase>();
        TempStores::setMain(QStringLiteral("DB"), db->path());
        db->exec({"insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA, MBR) "
                  "values (1, 'Ana', 'NE', 'Pula', '1')"});
        db->exec({"SET GENERATOR GEN_KORISNICI_ID TO 1"});
        dialogs.clear();
    }
    void cleanup()
    {
        db.reset();
        stores.reset();
    }

    void newCustomerFromTheMenu()
    {
        Startup s;
        TMainForm* m = s.MainForm.get();
        QVERIFY(s.FKorisnikUnos);
        QCOMPARE(customers::TFKorisnikUnos::instance(), s.FKorisnikUnos.get());
        QCOMPARE(s.FKorisnikUnos->parentWidget(), static_cast<QWidget*>(m));
        QVERIFY(m->Action1->isEnabled());
        m->show();
        QApplication::setActiveWindow(m);
        QCOMPARE(m->StatKupci->text(), QStringLiteral("1"));

        customers::TFKorisnikUnos* e = s.FKorisnikUnos.get();
        e->Tag = 77;   // whatever an earlier showing left
        QTimer::singleShot(0, e, [e] {
            QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(e));
            QCOMPARE(e->TableName, QStringLiteral("KORISNICI"));
            QCOMPARE(e->KeyFields, QStringLiteral("IDKORISNIKA"));
            QCOMPARE(e->KeyValue, fw::RecordKey{-1});
            QCOMPARE(e->Tag, -1);
            e->NAZIV_KORISNIKA->setText(QStringLiteral("Božena"));
            e->ADRESA->setPlainText(QStringLiteral("Osijek"));
            e->MBR->setText(QStringLiteral("2"));
            QTest::mouseClick(e->BSnimi, Qt::LeftButton);
            if (e->isVisible()) {
                e->reject();
                QFAIL("the editor stayed open");
            }
        });
        m->Action1->trigger();
        QVERIFY(dialogs.shown.empty());
        // back in the main window: the counter follows when it is active again
        QApplication::setActiveWindow(m);
        QCoreApplication::processEvents();
        QCOMPARE(m->StatKupci->text(), QStringLiteral("2"));
    }

    void overviewFromMenuAndButton()
    {
        Startup s;
        TMainForm* m = s.MainForm.get();
        customers::TFKorisniciPregled* p = s.FKorisniciPregled.get();
        QVERIFY(p);
        QVERIFY(m->Action2->isEnabled() && m->BitBtn3->isEnabled());
        m->show();
        QTest::mouseClick(m->BitBtn3, Qt::LeftButton);
        QVERIFY(p->isVisible());
        QVERIFY(!p->isModal());
        QVERIFY(!p->BOK->isVisible());
        QCOMPARE(p->IBQueryKorisnici.recordCount(), 1);
        QTest::mouseClick(p->BitBtn1, Qt::LeftButton);
        QVERIFY(!p->isVisible());

        db->exec({"insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) "
                  "values (2, 'Boris', 'DA', 'Rijeka')"});
        m->Action2->trigger();
        QVERIFY(p->isVisible());
        QCOMPARE(p->IBQueryKorisnici.recordCount(), 2);

        // the list opens the program's one editor
        p->IBQueryKorisnici.setRecNo(1);
        customers::TFKorisnikUnos* e = s.FKorisnikUnos.get();
        QTimer::singleShot(0, e, [e] {
            QCOMPARE(QApplication::activeModalWidget(), static_cast<QWidget*>(e));
            QCOMPARE(e->NAZIV_KORISNIKA->text(), QStringLiteral("Boris"));
            QTest::mouseClick(e->BIzlaz, Qt::LeftButton);
            if (e->isVisible()) e->reject();
        });
        p->TFrGrid1GridDblClick();
        QVERIFY(dialogs.shown.empty());
    }
};

KAVOR_APP_TEST_MAIN(TstCustomersMain)
#include "tst_customers_main.moc"
