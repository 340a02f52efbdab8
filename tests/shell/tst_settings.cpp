// The settings store and the settings dialog "Postavke sustava".
#include "app/testmain.h"
#include "framework/dialogs.h"
#include "settings/optionform.h"
#include "settings/settingsstore.h"
#include "shelltest.h"
#include "testdb.h"
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QtTest>
#include <memory>

using settings::TOptionForm;
using shell_test::TempStores;

// A click on the box of a check box (its middle may lie beyond its text).
static void tick(QCheckBox* box) { QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(6, box->height() / 2)); }

class TestSettings : public QObject {
    Q_OBJECT
    std::unique_ptr<TempStores> stores;
    fw::ScriptedDialogs dialogs;
    QStringList printers;

private slots:
    void initTestCase()
    {
        fw::installDialogs(&dialogs);
        TOptionForm::setPrinterSource([this] { return printers; });
    }
    void init()
    {
        stores = std::make_unique<TempStores>();
        dialogs.clear();
        dialogs.fileAnswers.clear();
        dialogs.loginAnswers.clear();
        printers = {QStringLiteral("HP LaserJet"), QStringLiteral("Canon iR"), QStringLiteral("PDF")};
    }
    void cleanup() { stores.reset(); }

    void firstStartDefaults()
    {
        TOptionForm f;
        QCOMPARE(f.windowTitle(), QStringLiteral("Postavke sustava"));
        QCOMPARE(f.Edit1->text(), QCoreApplication::applicationDirPath() + QStringLiteral("/Baza/KAVOR.FDB"));
        QCOMPARE(f.Edit2->text(), QStringLiteral("SYSDBA"));
        QCOMPARE(f.MaskEdit1->text(), QStringLiteral("tribolen4"));
        QCOMPARE(f.MaskEdit1->echoMode(), QLineEdit::Password);
        QVERIFY(f.Lokal->isChecked());
        QVERIFY(!f.Server->isEnabled());
        QVERIFY(f.Server->text().isEmpty());
        QVERIFY(!f.CheckBox1->isChecked());
        QVERIFY(f.Edit2->isEnabled() && f.MaskEdit1->isEnabled());
        QCOMPARE(f.Logo->text(), QCoreApplication::applicationDirPath() + QStringLiteral("/kavor_logo.bmp"));
        QCOMPARE(f.TvNaziv->text(), settings::kDefaultCompany);
        QCOMPARE(f.MainNaslov->text(), settings::kDefaultCompany);
        QVERIFY(!f.TvAdresa->text().isEmpty() && !f.Sjediste->text().isEmpty() && !f.TVKontakt->text().isEmpty());
        QVERIFY(f.TvZiro->text().isEmpty());
        QVERIFY(f.TvMBR->text().isEmpty());
        QCOMPARE(f.TvMBR->maxLength(), 13);
        QVERIFY(!f.StartCheck->isChecked());
        QCOMPARE(f.EVPrinter->currentIndex(), -1);   // no print setup yet
        QCOMPARE(f.EVPrinter->count(), 3);
        // the pages a user sees, in order; the other two are never shown
        QCOMPARE(f.PageControl1->count(), 5);
        QCOMPARE(f.PageControl1->tabText(0), QStringLiteral("Podaci o tvrtki"));
        QCOMPARE(f.PageControl1->tabText(1), QStringLiteral("Ispis na pisač"));
        QCOMPARE(f.PageControl1->tabText(2), QStringLiteral("Pristup bazi"));
        QVERIFY(!f.PageControl1->isTabVisible(3) && !f.PageControl1->isTabVisible(4));
        QVERIFY(!f.ListBox1->isVisible());
        QVERIFY(dialogs.shown.empty());
    }

    // Stored values and what the dialog shows after loading them.
    void loading_data()
    {
        QTest::addColumn<QVariantMap>("main");
        QTest::addColumn<QVariantMap>("print");
        QTest::addColumn<bool>("lokal");
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("prompt");
        QTest::addColumn<bool>("startCheck");
        QTest::addColumn<QString>("printer");    // empty: nothing selected
        QTest::addColumn<bool>("showBefore");

        const QVariantMap none;
        QTest::newRow("Local 0 with a server") << QVariantMap{{"Local", 0}, {"Server", "poslovnica.lan"}} << none
                                               << false << "poslovnica.lan" << false << false << "" << false;
        QTest::newRow("Local 2 is unticked") << QVariantMap{{"Local", 2}} << none << false << "" << false << false << "" << false;
        QTest::newRow("Prompt 1") << QVariantMap{{"Prompt", 1}} << none << true << "" << true << false << "" << false;
        QTest::newRow("Prompt 2 is unticked") << QVariantMap{{"Prompt", 2}} << none << true << "" << false << false << "" << false;
        QTest::newRow("StartCheck 2 is ticked") << QVariantMap{{"StartCheck", 2}} << none << true << "" << false << true << "" << false;
        QTest::newRow("StartCheck 0") << QVariantMap{{"StartCheck", 0}} << none << true << "" << false << false << "" << false;
        QTest::newRow("print key missing") << none << none << true << "" << false << false << "" << false;
        QTest::newRow("stored printer installed") << none << QVariantMap{{"EVPisac", "Canon iR"}, {"EVShowBefore", 1}}
                                                  << true << "" << false << false << "Canon iR" << true;
        QTest::newRow("stored printer gone") << none << QVariantMap{{"EVPisac", "Epson LX-300"}, {"EVShowBefore", 0}}
                                             << true << "" << false << false << "" << false;
        QTest::newRow("printer name differs in case") << none << QVariantMap{{"EVPisac", "canon ir"}}
                                                      << true << "" << false << false << "" << false;
        QTest::newRow("key without printer: the first") << none << QVariantMap{{"EVShowBefore", 5}}
                                                        << true << "" << false << false << "HP LaserJet" << true;
    }
    void loading()
    {
        QFETCH(QVariantMap, main);
        QFETCH(QVariantMap, print);
        for (auto it = main.begin(); it != main.end(); ++it) TempStores::setMain(it.key(), it.value());
        for (auto it = print.begin(); it != print.end(); ++it) TempStores::setPrint(it.key(), it.value());
        TOptionForm f;
        QFETCH(bool, lokal);
        QFETCH(QString, server);
        QFETCH(bool, prompt);
        QFETCH(bool, startCheck);
        QFETCH(QString, printer);
        QFETCH(bool, showBefore);
        QCOMPARE(f.Lokal->isChecked(), lokal);
        QCOMPARE(f.Server->isEnabled(), !lokal);
        QCOMPARE(f.Server->text(), server);
        QCOMPARE(f.CheckBox1->isChecked(), prompt);
        QCOMPARE(f.Edit2->isEnabled(), !prompt);
        QCOMPARE(f.MaskEdit1->isEnabled(), !prompt);
        QCOMPARE(f.LKorisnik->isEnabled(), !prompt);
        QCOMPARE(f.LLozinka->isEnabled(), !prompt);
        QCOMPARE(f.StartCheck->isChecked(), startCheck);
        QCOMPARE(f.EVPrinter->currentIndex() >= 0 ? f.EVPrinter->currentText() : QString(), printer);
        QCOMPARE(f.ShowBeforeEvIspis->isChecked(), showBefore);
        // showing reloads the print setup on a fresh printer list: the same outcome
        f.show();
        QCOMPARE(f.EVPrinter->currentIndex() >= 0 ? f.EVPrinter->currentText() : QString(), printer);
    }

    void closingStoresEverything()
    {
        {
            TOptionForm f;
            f.show();
            f.TvNaziv->setText(QStringLiteral("Rent-a-car Šišmiš d.o.o."));
            f.TvZiro->setText(QStringLiteral("HR1210010051863000160"));
            f.TvMBR->setText(QStringLiteral("01234567890123456"));   // cut at 13
            f.MainNaslov->setText(QStringLiteral("Čćđ najam"));
            tick(f.StartCheck);
            f.PageControl1->setCurrentIndex(2);
            tick(f.Lokal);
            f.Server->setText(QStringLiteral("10.0.0.5"));
            f.EVPrinter->setCurrentIndex(1);
            // "Otkaži": no OK, but everything is stored
            QTest::mouseClick(f.Button7, Qt::LeftButton);
            QCOMPARE(f.result(), int(QDialog::Rejected));
        }
        QCOMPARE(TempStores::main("Tvrtka").toString(), QStringLiteral("Rent-a-car Šišmiš d.o.o."));
        QCOMPARE(TempStores::main("TMBR").toString(), QStringLiteral("0123456789012"));
        QCOMPARE(TempStores::main("StartCheck").toInt(), 1);
        QCOMPARE(TempStores::main("Local").toInt(), 0);
        QCOMPARE(TempStores::main("Prompt").toInt(), 0);
        QCOMPARE(TempStores::print("EVPisac").toString(), QStringLiteral("Canon iR"));
        QCOMPARE(TempStores::print("EVShowBefore").toInt(), 0);
        TOptionForm g;   // a restart
        QCOMPARE(g.TvNaziv->text(), QStringLiteral("Rent-a-car Šišmiš d.o.o."));
        QCOMPARE(g.MainNaslov->text(), QStringLiteral("Čćđ najam"));
        QCOMPARE(g.TvZiro->text(), QStringLiteral("HR1210010051863000160"));
        QVERIFY(g.StartCheck->isChecked());
        QVERIFY(!g.Lokal->isChecked() && g.Server->isEnabled());
        QCOMPARE(g.Server->text(), QStringLiteral("10.0.0.5"));
        QCOMPARE(g.EVPrinter->currentText(), QStringLiteral("Canon iR"));
        QVERIFY(dialogs.shown.empty());
    }

    void snimiPromjeneReturnsOk()
    {
        TOptionForm f;
        f.show();
        f.TvAdresa->setText(QStringLiteral("Ilica 1"));
        QTest::mouseClick(f.Button1, Qt::LeftButton);
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QVERIFY(!f.isVisible());
        QCOMPARE(TempStores::main("TAdresa").toString(), QStringLiteral("Ilica 1"));
        // closing through the frame stores too, with the result "Cancel"
        f.show();
        f.TvAdresa->setText(QStringLiteral("Ilica 2"));
        f.close();
        QCOMPARE(f.result(), int(QDialog::Rejected));
        QCOMPARE(TempStores::main("TAdresa").toString(), QStringLiteral("Ilica 2"));
    }

    void printSetupMissingStoresEmptyName()
    {
        {
            TOptionForm f;
            f.show();
            QCOMPARE(f.EVPrinter->currentIndex(), -1);
            f.reject();
        }
        QVERIFY(TempStores::print("EVPisac").isValid());
        QCOMPARE(TempStores::print("EVPisac").toString(), QString());
        TOptionForm g;   // the key exists now, with an empty name: still nothing selected
        QCOMPARE(g.EVPrinter->currentIndex(), -1);
    }

    void changeMark_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("marks");
        QTest::newRow("Server") << "Server" << true;
        QTest::newRow("Edit1") << "Edit1" << true;
        QTest::newRow("Edit2") << "Edit2" << true;
        QTest::newRow("MaskEdit1") << "MaskEdit1" << true;
        QTest::newRow("Lokal") << "Lokal" << false;
        QTest::newRow("CheckBox1") << "CheckBox1" << false;
        QTest::newRow("TvNaziv") << "TvNaziv" << false;
        QTest::newRow("MainNaslov") << "MainNaslov" << false;
    }
    void changeMark()
    {
        QFETCH(QString, control);
        QFETCH(bool, marks);
        TOptionForm f;
        QCOMPARE(f.DBPromjenaStatus->text(), QStringLiteral("*"));   // loading set the texts
        f.show();
        QVERIFY(f.DBPromjenaStatus->text().isEmpty());              // showing clears it
        QWidget* w = f.findChild<QWidget*>(control);
        QVERIFY(w);
        f.PageControl1->setCurrentIndex(control.startsWith(QLatin1String("Tv")) || control == QLatin1String("MainNaslov") ? 0 : 2);
        if (control == QLatin1String("Server")) f.Lokal->setChecked(false), f.LokalClick();
        if (auto* e = qobject_cast<QLineEdit*>(w)) {
            e->setFocus();
            QTest::keyClicks(e, QStringLiteral("x"));
        } else {
            tick(qobject_cast<QCheckBox*>(w));
        }
        QCOMPARE(f.changed(), marks);
        QCOMPARE(f.DBPromjenaStatus->text(), marks ? QStringLiteral("*") : QString());
        f.reject();
        f.show();
        QVERIFY(!f.changed());
    }

    void enablingRules()
    {
        TOptionForm f;
        f.show();
        f.PageControl1->setCurrentIndex(2);
        QVERIFY(!f.Server->isEnabled());
        tick(f.Lokal);
        QVERIFY(f.Server->isEnabled());
        tick(f.CheckBox1);
        QVERIFY(!f.Edit2->isEnabled() && !f.MaskEdit1->isEnabled() && !f.LKorisnik->isEnabled() && !f.LLozinka->isEnabled());
        tick(f.CheckBox1);
        QVERIFY(f.Edit2->isEnabled() && f.MaskEdit1->isEnabled() && f.LKorisnik->isEnabled() && f.LLozinka->isEnabled());
    }

    void focusColours()
    {
        TOptionForm f;
        f.show();
        f.PageControl1->setCurrentIndex(2);
        QApplication::setActiveWindow(&f);
        const QColor normal = QApplication::palette().color(QPalette::Base);
        f.Edit1->setFocus();
        QCOMPARE(f.Edit1->palette().color(QPalette::Base), f.palette().color(QPalette::Midlight));
        f.Edit2->setFocus();
        QCOMPARE(f.Edit1->palette().color(QPalette::Base), normal);
        QCOMPARE(f.Edit2->palette().color(QPalette::Base), f.palette().color(QPalette::Midlight));
    }

    void passwordRoundTrip_data()
    {
        QTest::addColumn<QString>("password");
        const QString chars = QStringLiteral("aB3#xQ7r-Kd9šČ!zž%ĐYw");
        for (int n = 0; n <= 20; ++n) QTest::addRow("length %d", n) << chars.left(n);
        QTest::newRow("the key itself") << QStringLiteral("#Q7r-Kd9");
        QTest::newRow("key characters in place") << QStringLiteral("#abr-xd9");
        QTest::newRow("key characters past 8") << QStringLiteral("abcdefgh#Q7r");
        QTest::newRow("escape mark in front") << QString(QChar(0x22)) + QStringLiteral("hello");
        QTest::newRow("the default") << QStringLiteral("tribolen4");
    }
    void passwordRoundTrip()
    {
        QFETCH(QString, password);
        QCOMPARE(settings::ScramblePassword(settings::ScramblePassword(password)), password);
        QCOMPARE(settings::ScramblePassword(password).size(), password.size());
        {
            TOptionForm f;
            f.MaskEdit1->setText(password);
            f.SaveSettings();
        }
        const QString stored = TempStores::main("USER2").toString();
        if (password.isEmpty()) QCOMPARE(stored, QString());
        QVERIFY(!stored.contains(QChar(0)));
        TOptionForm g;
        QCOMPARE(g.MaskEdit1->text(), password);
    }

    void passwordPlainForm()
    {
        // Up to 8 characters without a key character in place: stored as the XOR itself,
        // and a value written in that form by an older installation reads back.
        const QString pw = QStringLiteral("auto2024");
        QString expected;
        const QString key = QStringLiteral("#Q7r-Kd9");
        for (int i = 0; i < pw.size(); ++i) expected += QChar(pw[i].unicode() ^ key[i].unicode());
        QCOMPARE(settings::ScramblePassword(pw), expected);
        {
            TOptionForm f;
            f.MaskEdit1->setText(pw);
            f.SaveSettings();
        }
        QCOMPARE(TempStores::main("USER2").toString(), expected);
        TempStores::setMain("USER2", settings::ScramblePassword(QStringLiteral("tajna")));
        TOptionForm g;
        QCOMPARE(g.MaskEdit1->text(), QStringLiteral("tajna"));
    }

    void unwritableStoreWarnsOnce()
    {
        stores->makeSystemUnwritable();
        TOptionForm f;
        f.show();
        f.TvNaziv->setText(QStringLiteral("Nova tvrtka"));
        QTest::mouseClick(f.Button1, Qt::LeftButton);
        QCOMPARE(dialogs.texts(QStringLiteral("warning")).size(), 1);
        QVERIFY(dialogs.texts(QStringLiteral("warning")).first().startsWith(QStringLiteral("Postavke nisu spremljene")));
        QCOMPARE(f.result(), int(QDialog::Accepted));
        QCOMPARE(f.TvNaziv->text(), QStringLiteral("Nova tvrtka"));   // stays in use for the run
        dialogs.clear();
        f.show();
        f.PageControl1->setCurrentIndex(2);
        QTest::mouseClick(f.Button3, Qt::LeftButton);
        QCOMPARE(dialogs.texts(QStringLiteral("warning")).size(), 1);
    }

    void zapamtiStoresConnectionOnly()
    {
        testing_support::TempDatabase db;
        TOptionForm f;
        f.show();
        f.PageControl1->setCurrentIndex(2);
        f.Edit1->setText(db.path());
        f.TvNaziv->setText(QStringLiteral("Ne sprema se"));
        QTest::mouseClick(f.Button2, Qt::LeftButton);
        QVERIFY(f.ListBox1->isVisible());
        QTest::mouseClick(f.Button3, Qt::LeftButton);
        QVERIFY(!f.ListBox1->isVisible());
        QCOMPARE(TempStores::main("DB").toString(), db.path());
        QCOMPARE(TempStores::main("USER").toString(), QStringLiteral("SYSDBA"));
        QCOMPARE(TempStores::main("Local").toInt(), 1);
        QCOMPARE(TempStores::main("Prompt").toInt(), 0);
        QVERIFY(!TempStores::main("Tvrtka").isValid());
        QCOMPARE(dialogs.texts(), QStringList{QStringLiteral("Postavke su u redu - spajanje je uspjelo!")});
    }

    void provjeriSuccess()
    {
        testing_support::TempDatabase db;
        db::TDataModule1 dm;
        TOptionForm f;
        f.show();
        f.PageControl1->setCurrentIndex(2);
        f.Edit1->setText(db.path());
        QTest::mouseClick(f.Button2, Qt::LeftButton);
        QCOMPARE(dialogs.texts(QStringLiteral("information")), QStringList{QStringLiteral("Postavke su u redu - spajanje je uspjelo!")});
        QVERIFY(f.ListBox1->isVisible());
        QStringList items;
        for (int i = 0; i < f.ListBox1->count(); ++i) items << f.ListBox1->item(i)->text();
        QCOMPARE(items, (QStringList{"BOJE", "CJENIK", "KORISNICI", "OSIGURANJA", "REGOZ", "SERVISI", "UGOVORI", "VOZILA"}));
        QVERIFY(!dm.DB.isOpen());   // the shared connection is never touched
        QVERIFY(dm.DB.databaseName().isEmpty());
    }

    void provjeriFailure_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("prompt");
        QTest::newRow("missing file") << "/nonexistent/folder/KAVOR.FDB" << false;
        QTest::newRow("login cancelled") << "" << true;
    }
    void provjeriFailure()
    {
        QFETCH(QString, path);
        QFETCH(bool, prompt);
        testing_support::TempDatabase db;
        TOptionForm f;
        f.show();
        f.PageControl1->setCurrentIndex(2);
        f.Edit1->setText(path.isEmpty() ? db.path() : path);
        if (prompt) tick(f.CheckBox1);
        QTest::mouseClick(f.Button2, Qt::LeftButton);
        QCOMPARE(dialogs.texts(QStringLiteral("error")), QStringList{QStringLiteral("Pogreška prilikom spajanja na poslužitelj i bazu podataka!")});
        QVERIFY(!f.ListBox1->isVisible());
        if (prompt) QCOMPARE(dialogs.texts(QStringLiteral("login")), QStringList{db.path()});
    }

    void provjeriWithLogin()
    {
        testing_support::TempDatabase db;
        TOptionForm f;
        f.show();
        f.PageControl1->setCurrentIndex(2);
        f.Edit1->setText(db.path());
        tick(f.CheckBox1);
        dialogs.loginAnswers.push_back({true, QStringLiteral("SYSDBA"), QStringLiteral("x")});
        QTest::mouseClick(f.Button2, Qt::LeftButton);
        QCOMPARE(dialogs.texts(QStringLiteral("information")), QStringList{QStringLiteral("Postavke su u redu - spajanje je uspjelo!")});
        QVERIFY(f.ListBox1->isVisible());
    }

    void fileChoosers()
    {
        TOptionForm f;
        f.show();
        f.PageControl1->setCurrentIndex(2);
        dialogs.fileAnswers = {QStringLiteral("/srv/baze/NOVA.FDB")};
        QTest::mouseClick(f.Button27, Qt::LeftButton);
        QCOMPARE(f.Edit1->text(), QStringLiteral("/srv/baze/NOVA.FDB"));
        QVERIFY(f.changed());
        QTest::mouseClick(f.Button27, Qt::LeftButton);   // cancelled: unchanged
        QCOMPARE(f.Edit1->text(), QStringLiteral("/srv/baze/NOVA.FDB"));
        QCOMPARE(dialogs.texts(QStringLiteral("file")), (QStringList{"Odredite bazu", "Odredite bazu"}));
        f.PageControl1->setCurrentIndex(0);
        dialogs.fileAnswers = {QStringLiteral("/srv/slike/logo.jpg")};
        QTest::mouseClick(f.BitBtn1, Qt::LeftButton);
        QCOMPARE(f.Logo->text(), QStringLiteral("/srv/slike/logo.jpg"));
        QCOMPARE(dialogs.texts(QStringLiteral("picture")).size(), 1);
    }
};

KAVOR_APP_TEST_MAIN(TestSettings)
#include "tst_settings.moc"
