// The start-up, the main window with its counters and position, the connection and the
// standard error box.
#include "app/startup.h"
#include "app/testmain.h"
#include "framework/dialogs.h"
#include "framework/dialogs_qt.h"
#include "shelltest.h"
#include "testdb.h"
#include <QAction>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QtTest>
#include <memory>
#include <stdexcept>

using kavor::Startup;
using shell_test::TempStores;

static const QString kConnectFailure =
    QStringLiteral("Greška - baza nije dobro konfigurirana!\nRad nije moguć. Kontaktirajte autora!");

class TestMainForm : public QObject {
    Q_OBJECT
    std::unique_ptr<TempStores> stores;
    std::unique_ptr<testing_support::TempDatabase> db;
    fw::ScriptedDialogs dialogs;

    QStringList counters(TMainForm* m)
    {
        return {m->StatKupci->text(), m->StatNarudzbe->text(), m->StatNeplaceno->text(), m->StatUkVozila->text(),
                m->StatVaniVozila->text()};
    }
    // Answers the next modal dialog by running `what` once it is shown.
    void whenModal(std::function<void(QWidget*)> what)
    {
        QTimer::singleShot(0, this, [what] {
            QWidget* w = QApplication::activeModalWidget();
            QVERIFY(w);
            what(w);
        });
    }

private slots:
    void initTestCase() { fw::installDialogs(&dialogs); }
    void init()
    {
        stores = std::make_unique<TempStores>();
        db = std::make_unique<testing_support::TempDatabase>();
        TempStores::setMain(QStringLiteral("DB"), db->path());
        dialogs.clear();
        dialogs.loginAnswers.clear();
    }
    void cleanup()
    {
        db.reset();
        stores.reset();
    }

    void startupAndMenu()
    {
        Startup s;
        TMainForm* m = s.MainForm.get();
        QCOMPARE(m->windowTitle(), QStringLiteral("Evidencija ugovora o najmu vozila"));
        QCOMPARE(s.AboutForm->windowTitle(), QStringLiteral("O programu"));
        QCOMPARE(s.OptionForm->windowTitle(), QStringLiteral("Postavke sustava"));
        QCOMPARE(db::DataModule1(), s.DataModule1.get());
        QCOMPARE(settings::OptionForm(), s.OptionForm.get());
        QCOMPARE(s.OptionForm->Edit1->text(), db->path());   // loaded while created
        QVERIFY(!s.DataModule1->DB.isOpen());                  // nothing opens before the show

        QStringList menu;
        for (QAction* top : m->ActionMainMenuBar1->actions()) {
            menu << top->text();
            for (QAction* a : top->menu()->actions())
                menu << (a->isSeparator() ? QStringLiteral("  -") : QStringLiteral("  ") + a->text() + (a->isEnabled() ? "" : " (x)"));
        }
        QCOMPARE(menu, (QStringList{"&Korisnici", "  &Novi korisnik", "  &Pregled i pretraživanje", "  -",
                                    "  P&ostavke...", "  -", "  &Izlazak iz programa",
                                    "&Ugovori", "  &Novi ugovor (x)", "  &Dnevno poslovanje (x)", "  &Mjesečno poslovanje (x)",
                                    "&Vozila", "  &Novo vozilo (x)", "  &Pregled vozila (x)", "  -", "  &Cjenik (x)", "  &Boje (x)",
                                    "&O programu", "  &O programu"}));
        QCOMPARE(m->Action4->property("category").toString(), QStringLiteral("Korisnici"));
        QCOMPARE(m->Action10->property("category").toString(), QStringLiteral("Vozila"));
        for (QAction* a : m->findChildren<QAction*>()) QVERIFY(a->shortcut().isEmpty());
        QCOMPARE(m->BitBtn1->text(), QStringLiteral("Novi ugovor"));
        QCOMPARE(m->BitBtn2->text(), QStringLiteral("Dnevni pregled"));
        QCOMPARE(m->BitBtn3->text(), QStringLiteral("Evidencija korisnika"));
        QCOMPARE(m->BitBtn4->text(), QStringLiteral("Evidencija vozila"));
        QCOMPARE(m->BitBtn5->text(), QStringLiteral("Izlazak iz programa"));
        QVERIFY(m->BitBtn3->isEnabled() && !m->BitBtn4->isEnabled() && m->BitBtn5->isEnabled());
        QVERIFY(!m->BitBtn1->icon().isNull() && !m->BitBtn5->icon().isNull());
        QCOMPARE(m->GroupBox1->title(), QStringLiteral("Status evidencije:"));

        // a window that lands attaches its opening: action and button come alive
        int opened = 0;
        m->attach(TMainForm::Opens::Customers, [&] { ++opened; });
        QVERIFY(m->Action2->isEnabled() && m->BitBtn3->isEnabled());
        m->show();
        QTest::mouseClick(m->BitBtn3, Qt::LeftButton);
        m->Action2->trigger();
        QCOMPARE(opened, 2);
        QDate from, to;
        m->attachContracts([&](const QDate& f, const QDate& t) { from = f; to = t; });
        QTest::mouseClick(m->BitBtn2, Qt::LeftButton);
        QCOMPARE(from, QDate::currentDate());
        QCOMPARE(to, QDate::currentDate());
        m->Action15->trigger();
        QCOMPARE(from, QDate::currentDate().addMonths(-1));
    }

    void toolkitSpeaksCroatian()
    {
        // the application object loaded Qt's own Croatian texts and mapped the font names
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Odustani"));
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "&Yes"), QStringLiteral("&Da"));
        QCOMPARE(QFontInfo(QFont(QStringLiteral("Arial"))).family(), QStringLiteral("Liberation Sans"));
        QCOMPARE(QFontInfo(QFont(QStringLiteral("Tahoma"))).family(), QStringLiteral("DejaVu Sans"));
        QCOMPARE(QFontInfo(QFont(QStringLiteral("Times New Roman"))).family(), QStringLiteral("Liberation Serif"));
    }

    void monthlyRange_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<QDate>("from");
        QTest::newRow("31 March") << QDate(2023, 3, 31) << QDate(2023, 2, 28);
        QTest::newRow("31 March, leap year") << QDate(2024, 3, 31) << QDate(2024, 2, 29);
        QTest::newRow("15 June") << QDate(2024, 6, 15) << QDate(2024, 5, 15);
        QTest::newRow("1 January") << QDate(2024, 1, 1) << QDate(2023, 12, 1);
        QTest::newRow("31 May") << QDate(2024, 5, 31) << QDate(2024, 4, 30);
    }
    void monthlyRange()
    {
        QFETCH(QDate, today);
        QFETCH(QDate, from);
        QCOMPARE(TMainForm::monthlyRange(today), std::make_pair(from, today));
        QCOMPARE(TMainForm::dailyRange(today), std::make_pair(today, today));
    }

    void showSequenceOnEmptyDatabase()
    {
        Startup s;
        s.OptionForm->MainNaslov->setText(QStringLiteral("nije spremljeno"));   // the show reloads the store
        s.MainForm->show();
        QVERIFY(s.DataModule1->DB.isOpen());
        QCOMPARE(s.DataModule1->DB.databaseName(), db->path());
        QCOMPARE(s.DataModule1->DB.params(), (QStringList{"lc_ctype=NONE", "user_name=SYSDBA", "password=tribolen4"}));
        QCOMPARE(counters(s.MainForm.get()), QStringList(5, QStringLiteral("0")));
        QCOMPARE(s.MainForm->Panel1->text(), settings::kDefaultCompany);
        QVERIFY(!s.DataModule1->IBTransaction1.isActive());   // committed
        QVERIFY(dialogs.shown.empty());
    }

    void counterValues()
    {
        db->exec({
            "INSERT INTO KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) VALUES (1, 'Ana', 'NE', 'Split')",
            "INSERT INTO KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) VALUES (2, 'Ivo', 'NE', 'Zadar')",
            // 1: inactive, two registrations (one expired): counts once
            "INSERT INTO VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) VALUES (1, 'Golf', 'VI', 0, 'M1', 'S1', 'NE')",
            "INSERT INTO REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) VALUES ('ST100AA', 1, DATEADD(-400 DAY TO CURRENT_DATE), DATEADD(-35 DAY TO CURRENT_DATE), 0)",
            "INSERT INTO REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) VALUES ('ST100AA', 1, DATEADD(-30 DAY TO CURRENT_DATE), DATEADD(300 DAY TO CURRENT_DATE), 0)",
            // 2: rented on an open contract, registered today (two rows valid today): counts once
            "INSERT INTO VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) VALUES (2, 'Clio', 'IV', 0, 'M2', 'S2', 'DA')",
            "INSERT INTO REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) VALUES ('ZD200BB', 2, DATEADD(-10 DAY TO CURRENT_DATE), DATEADD(100 DAY TO CURRENT_DATE), 0)",
            "INSERT INTO REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) VALUES ('ZD201BB', 2, DATEADD(-5 DAY TO CURRENT_DATE), DATEADD(100 DAY TO CURRENT_DATE), 0)",
            "INSERT INTO UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA) VALUES (1, '1/24', 2, 1, DATEADD(-2 DAY TO CURRENT_DATE))",
            // 3: rented until tomorrow, no registration valid today: does not count
            "INSERT INTO VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) VALUES (3, 'Punto', 'II', 0, 'M3', 'S3', 'DA')",
            "INSERT INTO REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) VALUES ('RI300CC', 3, DATEADD(-400 DAY TO CURRENT_DATE), DATEADD(-1 DAY TO CURRENT_DATE), 0)",
            "INSERT INTO UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA, DATUM_ZAVRSETKA) VALUES (2, '2/24', 3, 2, DATEADD(-3 DAY TO CURRENT_DATE), DATEADD(1 DAY TO CURRENT_DATE))",
            // 4: registered, contract ended yesterday: does not count; its closed contract is not unfinished
            "INSERT INTO VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) VALUES (4, 'Polo', 'V', 0, 'M4', 'S4', 'DA')",
            "INSERT INTO REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) VALUES ('OS400DD', 4, DATEADD(-10 DAY TO CURRENT_DATE), DATEADD(100 DAY TO CURRENT_DATE), 0)",
            "INSERT INTO UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA, DATUM_ZAVRSETKA) VALUES (3, '3/24', 4, 2, DATEADD(-9 DAY TO CURRENT_DATE), DATEADD(-1 DAY TO CURRENT_DATE))",
            // 5: inactive without any registration: counts
            "INSERT INTO VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) VALUES (5, 'Yaris', 'III', 0, 'M5', 'S5', 'NE')",
            // 6: contract starting tomorrow: not running today
            "INSERT INTO VOZILA (IDVOZILA, MARKA, TIP, BOJA, MOTOR, SASIJA, AKTIVNO) VALUES (6, 'Corsa', 'E', 0, 'M6', 'S6', 'DA')",
            "INSERT INTO REGOZ (REGOZNAKA, IDVOZILA, VRIJEDI_OD, VRIJEDI_DO, STANJEKM) VALUES ('PU600EE', 6, DATEADD(-10 DAY TO CURRENT_DATE), DATEADD(100 DAY TO CURRENT_DATE), 0)",
            "INSERT INTO UGOVORI (IDUGOVORA, BROJ_UGOVORA, IDVOZILA, IDKORISNIKA, DATUM_UGOVORA) VALUES (4, '4/24', 6, 1, DATEADD(1 DAY TO CURRENT_DATE))",
        });
        Startup s;
        s.MainForm->show();
        QCOMPARE(counters(s.MainForm.get()), (QStringList{"2", "4", "2", "6", "3"}));
        // a row added meanwhile shows at the next activation
        db->exec({"INSERT INTO KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) VALUES (3, 'Eva', 'DA', 'Pula')",
                  "UPDATE UGOVORI SET DATUM_ZAVRSETKA = CURRENT_DATE WHERE IDUGOVORA = 1"});
        s.MainForm->FormActivate();
        QCOMPARE(counters(s.MainForm.get()), (QStringList{"3", "4", "1", "6", "3"}));
        QVERIFY(dialogs.shown.empty());
    }

    void connectFailureShownOnce()
    {
        TempStores::setMain(QStringLiteral("DB"), QStringLiteral("/nonexistent/Baza/KAVOR.FDB"));
        Startup s;
        TMainForm* m = s.MainForm.get();
        m->show();
        QVERIFY(!s.DataModule1->DB.isOpen());
        QCOMPARE(s.DataModule1->DB.databaseName(), QStringLiteral("/nonexistent/Baza/KAVOR.FDB"));
        QCOMPARE(dialogs.texts().size(), 2);
        QCOMPARE(dialogs.shown[0].text, kConnectFailure);
        QCOMPARE(dialogs.shown[1].kind, QStringLiteral("error"));   // the counters' failure, once
        QVERIFY(!dialogs.shown[1].text.isEmpty());
        QCOMPARE(counters(m), QStringList(5, QStringLiteral("0")));
        m->FormActivate();
        m->FormActivate();
        QCOMPARE(dialogs.texts().size(), 2);
        QVERIFY(m->isVisible());

        // corrected in the settings, saved with "Snimi promjene": reconnects
        whenModal([this](QWidget* w) {
            auto* opt = qobject_cast<settings::TOptionForm*>(w);
            QVERIFY(opt);
            opt->Edit1->setText(db->path());
            QTest::mouseClick(opt->Button1, Qt::LeftButton);
        });
        m->Action4Execute();
        QVERIFY(s.DataModule1->DB.isOpen());
        m->FormActivate();
        QCOMPARE(counters(m), QStringList(5, QStringLiteral("0")));
        QCOMPARE(dialogs.texts().size(), 2);
    }

    void loginPrompt_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::newRow("logged in") << true;
        QTest::newRow("cancelled") << false;
    }
    void loginPrompt()
    {
        QFETCH(bool, answer);
        TempStores::setMain(QStringLiteral("Prompt"), 1);
        dialogs.loginAnswers.push_back({answer, QStringLiteral("SYSDBA"), QStringLiteral("x")});
        Startup s;
        s.MainForm->show();
        QCOMPARE(s.DataModule1->DB.params(), QStringList{"lc_ctype=NONE"});
        QCOMPARE(dialogs.texts(QStringLiteral("login")), QStringList{db->path()});
        QCOMPARE(s.DataModule1->DB.isOpen(), answer);
        QCOMPARE(dialogs.texts().contains(kConnectFailure), !answer);
    }

    void settingsDialogFromMenu_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<bool>("editPath");
        QTest::addColumn<bool>("reconnects");
        QTest::newRow("Otkaži after editing the path") << "Button7" << true << false;
        QTest::newRow("Snimi promjene, path edited") << "Button1" << true << true;
        QTest::newRow("Snimi promjene, only Lokalno") << "Button1" << false << false;
    }
    void settingsDialogFromMenu()
    {
        QFETCH(QString, button);
        QFETCH(bool, editPath);
        QFETCH(bool, reconnects);
        Startup s;
        s.MainForm->show();
        s.DataModule1->Read.start();   // ends only when the connection closes
        whenModal([&](QWidget* w) {
            auto* opt = qobject_cast<settings::TOptionForm*>(w);
            opt->MainNaslov->setText(QStringLiteral("Najam Šibenik"));
            opt->PageControl1->setCurrentIndex(2);
            if (editPath) opt->Edit1->setText(db->path() + QStringLiteral(" "));
            else QTest::mouseClick(opt->Lokal, Qt::LeftButton, {}, QPoint(6, opt->Lokal->height() / 2));
            if (editPath) opt->Edit1->setText(db->path());
            QTest::mouseClick(opt->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        s.MainForm->Action4Execute();
        QCOMPARE(s.DataModule1->Read.isActive(), !reconnects);
        QVERIFY(s.DataModule1->DB.isOpen() || !editPath);
        QCOMPARE(s.MainForm->Panel1->text(), QStringLiteral("Najam Šibenik"));
        QCOMPARE(TempStores::main("MainNaslov").toString(), QStringLiteral("Najam Šibenik"));
    }

    // Stored outer geometry and the frame rectangle it gives; a width or height of 0 stands
    // for the design client size (387 x 288) with the window's own frame around it.
    void position_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QRect>("expected");
        QTest::newRow("first start") << QVariantMap{} << QRect(63, 166, 0, 0);
        QTest::newRow("-8, -8") << QVariantMap{{"L", -8}, {"T", -8}, {"W", 500}, {"H", 400}} << QRect(0, 0, 500, 400);
        QTest::newRow("stored") << QVariantMap{{"L", 120}, {"T", 40}, {"W", 420}, {"H", 310}} << QRect(120, 40, 420, 310);
        QTest::newRow("W missing") << QVariantMap{{"L", 10}, {"T", 20}, {"H", 300}} << QRect(10, 20, 0, 300);
        QTest::newRow("H a text") << QVariantMap{{"L", 10}, {"T", 20}, {"W", 450}, {"H", "visoko"}} << QRect(10, 20, 450, 0);
        QTest::newRow("far off the screen") << QVariantMap{{"L", 5000}, {"T", 4000}, {"W", 400}, {"H", 300}}
                                            << QRect(-1, -1, 400, 300);
    }
    void position()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QRect, expected);
        for (auto it = stored.begin(); it != stored.end(); ++it) TempStores::setPosition(it.key(), it.value());
        Startup s;
        s.MainForm->show();
        const QRect r = s.MainForm->frameGeometry();
        if (expected.left() == -1) {
            QVERIFY(s.MainForm->screen()->availableGeometry().contains(r));
        } else {
            QCOMPARE(r.topLeft(), expected.topLeft());
        }
        if (expected.width()) QCOMPARE(r.width(), expected.width());
        else QCOMPARE(s.MainForm->width(), 387);
        if (expected.height()) QCOMPARE(r.height(), expected.height());
        else QCOMPARE(s.MainForm->height(), 288);
    }

    void exitSavesCloseBoxDoesNot()
    {
        QRect saved;
        {
            Startup s;
            s.MainForm->show();
            s.MainForm->move(100, 120);
            s.MainForm->resize(400, 300);
            saved = s.MainForm->frameGeometry();
            QTest::mouseClick(s.MainForm->BitBtn5, Qt::LeftButton);
            QVERIFY(!s.MainForm->isVisible());
        }
        QCOMPARE(saved.topLeft(), QPoint(100, 120));
        QCOMPARE(TempStores::position("L").toInt(), saved.left());
        QCOMPARE(TempStores::position("T").toInt(), saved.top());
        QCOMPARE(TempStores::position("W").toInt(), saved.width());
        QCOMPARE(TempStores::position("H").toInt(), saved.height());
        {
            Startup s;
            s.MainForm->show();
            QCOMPARE(s.MainForm->frameGeometry(), saved);
            s.MainForm->move(10, 10);
            s.MainForm->close();   // the frame's close box
        }
        QCOMPARE(TempStores::position("L").toInt(), 100);
        Startup s;
        s.MainForm->show();
        QCOMPARE(s.MainForm->frameGeometry(), saved);
    }

    void errorBoxCatchesHandlerFailures()
    {
        Startup s;
        TMainForm* m = s.MainForm.get();
        m->attach(TMainForm::Opens::Vehicles, [&] {
            db::Statement& q = s.DataModule1->IBSQL1;
            if (!s.DataModule1->IBTransaction1.isActive()) s.DataModule1->IBTransaction1.start();
            q.close();
            q.setSql(QStringLiteral("SELECT COUNT(*) FROM NEPOSTOJECA_TABLICA"));
            q.execQuery();
            QFAIL("the statement should have failed");
        });
        m->attach(TMainForm::Opens::PriceList, [] { throw std::runtime_error("nešto je puklo"); });
        m->attach(TMainForm::Opens::Colours, [] { throw 42; });
        m->show();
        QTest::mouseClick(m->BitBtn4, Qt::LeftButton);
        QCOMPARE(dialogs.texts(QStringLiteral("error")).size(), 1);
        QVERIFY2(dialogs.texts(QStringLiteral("error"))[0].contains(QStringLiteral("NEPOSTOJECA_TABLICA")),
                 qPrintable(dialogs.texts(QStringLiteral("error"))[0]));
        QVERIFY(m->isVisible());
        QVERIFY(s.DataModule1->IBTransaction1.isActive());   // not rolled back
        m->FormActivate();                                   // the next commit on it ends it
        QVERIFY(!s.DataModule1->IBTransaction1.isActive());

        QMetaObject::invokeMethod(m, "Action13Execute", Qt::QueuedConnection);
        QMetaObject::invokeMethod(m, "Action6Execute", Qt::QueuedConnection);
        QCoreApplication::processEvents();
        const QStringList errors = dialogs.texts(QStringLiteral("error"));
        QCOMPARE(errors.size(), 3);
        QCOMPARE(errors[1], QStringLiteral("nešto je puklo"));
        QCOMPARE(errors[2], QStringLiteral("Neočekivana pogreška programa."));
    }

    void aboutBox()
    {
        Startup s;
        s.MainForm->show();
        QString version, button, title;
        whenModal([&](QWidget* w) {
            auto* about = qobject_cast<TAboutForm*>(w);
            QVERIFY(about);
            title = about->windowTitle();
            version = about->Version->text();
            button = about->OKButton->text();
            QVERIFY(!about->ProgramIcon->pixmap().isNull());
            QTest::mouseClick(about->OKButton, Qt::LeftButton);
        });
        s.MainForm->Action11->trigger();
        QCOMPARE(title, QStringLiteral("O programu"));
        QCOMPARE(version, QStringLiteral("Inačica 1.0"));
        QCOMPARE(button, QStringLiteral("U redu"));
        QVERIFY(!s.AboutForm->isVisible());
    }

    void nameFilters_data()
    {
        QTest::addColumn<QString>("paired");
        QTest::addColumn<QString>("qt");
        QTest::newRow("database") << "Interbase baza podataka|*.gdb|Firebird baza podataka|*.fdb"
                                  << "Interbase baza podataka (*.gdb);;Firebird baza podataka (*.fdb)";
        QTest::newRow("named patterns") << "JPEG Image File (*.jpg)|*.jpg|Bitmaps (*.bmp)|*.bmp"
                                        << "JPEG Image File (*.jpg);;Bitmaps (*.bmp)";
        QTest::newRow("description naming more") << "All (*.pcx;*.jpg)|*.jpg;*.bmp" << "All (*.pcx;*.jpg) (*.jpg *.bmp)";
    }
    void nameFilters()
    {
        QFETCH(QString, paired);
        QFETCH(QString, qt);
        QCOMPARE(fw::qtNameFilters(paired), qt);
    }

    // Pictures for looking at the windows: KAVOR_SCREENS=<folder> keeps them there; without it
    // they go to a temporary folder, so the windows are still drawn and saved in every run.
    void screenshots()
    {
        QTemporaryDir scratch;
        QString folder = qEnvironmentVariable("KAVOR_SCREENS");
        if (folder.isEmpty()) folder = scratch.path();
        db->exec({"INSERT INTO KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) VALUES (1, 'Ana', 'NE', 'Split')"});
        settings::TOptionForm::setPrinterSource([] { return QStringList{"HP LaserJet 1020", "PDF"}; });
        Startup s;
        s.MainForm->show();
        QVERIFY(s.MainForm->grab().save(folder + QStringLiteral("/main.png")));
        s.OptionForm->show();
        for (int i = 0; i < 3; ++i) {
            s.OptionForm->PageControl1->setCurrentIndex(i);
            if (i == 2) QTest::mouseClick(s.OptionForm->Button2, Qt::LeftButton);
            QCoreApplication::processEvents();
            QVERIFY(s.OptionForm->grab().save(folder + QStringLiteral("/settings_%1.png").arg(i + 1)));
        }
        s.OptionForm->reject();
        s.AboutForm->show();
        QVERIFY(s.AboutForm->grab().save(folder + QStringLiteral("/about.png")));
        s.AboutForm->hide();
        settings::TOptionForm::setPrinterSource(nullptr);
    }
};

KAVOR_APP_TEST_MAIN(TestMainForm)
#include "tst_mainform.moc"
