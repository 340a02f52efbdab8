// The customer editor and the customer list on a fresh database: validation, what is stored
// (texts as typed, line breaks, the flag, the discount), a text longer than its column in the
// application's error box, deleting, continuous entry, an unchanged save, the list with its
// columns, sorting and find dialog, the editor opened from the list, and the chooser.
#include "app/testmain.h"
#include "customers/decimaledit.h"
#include "customers/korisnicipregled.h"
#include "customers/korisnikunos.h"
#include "db/datamodule.h"
#include "framework/dialogs.h"
#include "framework/locate.h"
#include "framework/frgrid.h"
#include "testdb.h"
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <functional>

using customers::TDecimalEdit;
using customers::TFKorisniciPregled;
using customers::TFKorisnikUnos;
using testing_support::TempDatabase;

namespace {

using Row = QMap<QString, db::Value>;

struct Env {
    TempDatabase d;
    db::TDataModule1 dm;
    fw::ScriptedDialogs dialogs;
    Env()
    {
        d.connect(dm);
        fw::installDialogs(&dialogs);
    }
    ~Env() { fw::installDialogs(nullptr); }

    // Every column of one customer, NULLs included; empty when there is no such row.
    Row row(int id)
    {
        db::Statement q(&dm.DB, &dm.IBTransaction3);
        dm.IBTransaction3.start();
        q.setSql("select * from KORISNICI where IDKORISNIKA = :ID");
        q.setParam("ID", id);
        q.execQuery();
        Row r;
        if (!q.eof())
            for (int i = 0; i < q.columnCount(); ++i) r[q.columnName(i)] = q.column(i);
        q.close();
        dm.IBTransaction3.commit();
        return r;
    }
    int count() { return db::queryValue(&dm.DB, &dm.IBTransaction3, "select count(*) from KORISNICI").toInt32(); }
    void addCustomer(int id, const QString& name, const QString& extra = {}, const QString& extraValues = {})
    {
        d.exec({QString("insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA, MBR%1) "
                        "values (%2, '%3', 'NE', 'Adresa %2', 'M%2'%4)")
                    .arg(extra.isEmpty() ? "" : ", " + extra).arg(id).arg(name)
                    .arg(extraValues.isEmpty() ? "" : ", " + extraValues)});
        d.exec({QString("SET GENERATOR GEN_KORISNICI_ID TO %1").arg(id)});   // as if drawn
    }
};

void prepareNew(TFKorisnikUnos& e)
{
    e.TableName = "KORISNICI";
    e.KeyFields = "IDKORISNIKA";
    e.KeyValue = {-1};
    e.Tag = -1;
}

void prepareEdit(TFKorisnikUnos& e, int id)
{
    e.TableName = "KORISNICI";
    e.KeyFields = "IDKORISNIKA";
    e.KeyValue = {id};
    e.Tag = id;
}

// Fills the three required fields.
void fillRequired(TFKorisnikUnos& e, const QString& name = "Ana Horvat")
{
    e.NAZIV_KORISNIKA->setText(name);
    e.ADRESA->setPlainText("Ilica 1, Zagreb");
    e.MBR->setText("0101990330001");
}

void save(TFKorisnikUnos& e) { QTest::mouseClick(e.BSnimi, Qt::LeftButton); }

// Runs `what` on the modal window once it is shown (after the current call starts its loop).
void whenModal(std::function<void(QWidget*)> what)
{
    QTimer::singleShot(0, qApp, [what] {
        QWidget* w = QApplication::activeModalWidget();
        QVERIFY2(w, "no modal window");
        what(w);
        if (auto* d = qobject_cast<QDialog*>(w); d && d->isVisible()) {
            d->reject();   // a failed step must not leave the test waiting
            QFAIL("the modal window stayed open");
        }
    });
}

} // namespace

class TstCustomers : public QObject {
    Q_OBJECT
private slots:
    // ------------------------------------------------------------------ the editor

    void pagesAndControls()
    {
        Env env;
        TFKorisnikUnos e;
        QCOMPARE(e.windowTitle(), QString("Korisnik"));
        QCOMPARE(e.size(), QSize(431, 455));
        QCOMPARE(e.PageControl1->count(), 3);
        QCOMPARE(e.PageControl1->tabText(0), QString("Korisnik"));
        QCOMPARE(e.PageControl1->tabText(1), QString("Osobni dokumenti"));
        QCOMPARE(e.PageControl1->tabText(2), QString("Tvrtka zaposlenja"));
        for (QPlainTextEdit* m : {e.ADRESA, e.ADRESA_PREBIVAL, e.TEL_FAX_MOB, e.ADRESA_TVRKE, e.TEL_FAX_MOB_TVRTKE})
            QCOMPARE(m->size(), QSize(232, 83));
        QCOMPARE(e.MBR->width(), 123);
        QCOMPARE(e.ZASTUPA_TVRTKU_DANE->text(), QString("Zastupa tvrtku"));
        QCOMPARE(e.GroupBoxVozacka->title(), QString("Vozačka dozvola:"));
        for (const QString& c : TFKorisnikUnos::textColumns()) QVERIFY2(e.control(c), qPrintable(c));

        // "Kontinuirani unos" stands beside the three page tabs, not over the last one
        prepareNew(e);
        e.show();
        QTabBar* tabs = e.PageControl1->tabBar();
        const QRect last = tabs->tabRect(2).translated(tabs->mapTo(&e, QPoint(0, 0)));
        const QRect box(e.KontUnos->mapTo(&e, QPoint(0, 0)), e.KontUnos->size());
        QVERIFY2(!last.intersects(box), qPrintable(QString("tab ends at %1, box starts at %2").arg(last.right()).arg(box.left())));
        QVERIFY(box.right() < e.width());
        e.reject();

        // the tab order runs through the pages in their listed order
        QCOMPARE(e.NAZIV_KORISNIKA->nextInFocusChain(), static_cast<QWidget*>(e.ADRESA));
        QCOMPARE(e.MBR->nextInFocusChain(), static_cast<QWidget*>(e.RABAT));
        QCOMPARE(e.RABAT->nextInFocusChain(), static_cast<QWidget*>(e.BR_0SOBNE));
        QCOMPARE(e.BR_0SOBNE->nextInFocusChain(), static_cast<QWidget*>(e.OSOBNA_IZDANA_U));
        QCOMPARE(e.VOZACKA_IZDANA_U->nextInFocusChain(), static_cast<QWidget*>(e.TVRTKA_ZAPOSLENJA));
        QCOMPARE(e.WEB->nextInFocusChain(), static_cast<QWidget*>(e.ZASTUPA_TVRTKU_DANE));
    }

    void validation_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("mbr");
        QTest::addColumn<int>("page");          // the page in front when saving
        QTest::addColumn<QString>("warning");
        QTest::addColumn<QString>("focus");
        const QString name = "Polje \"Naziv korisnika\" ne smije biti prazno!";
        const QString address = "Polje \"Adresa stanovanja\" ne smije biti prazno!";
        const QString jmbg = "Polje \"JMBG\" ne smije biti prazno!";
        QTest::newRow("empty name") << "" << "Ilica 1" << "123" << 0 << name << "NAZIV_KORISNIKA";
        QTest::newRow("name of blanks") << "   " << "Ilica 1" << "123" << 0 << name << "NAZIV_KORISNIKA";
        QTest::newRow("name, from Osobni dokumenti") << "" << "Ilica 1" << "123" << 1 << name << "NAZIV_KORISNIKA";
        QTest::newRow("address of blanks and lines") << "Ana" << "  \n \n" << "123" << 0 << address << "ADRESA";
        QTest::newRow("address, from Tvrtka zaposlenja") << "Ana" << "" << "123" << 2 << address << "ADRESA";
        QTest::newRow("JMBG of blanks") << "Ana" << "Ilica 1" << " " << 1 << jmbg << "MBR";
        QTest::newRow("all empty: only the name") << "" << "" << "" << 1 << name << "NAZIV_KORISNIKA";
        QTest::newRow("address and JMBG: only the address") << "Ana" << "" << "" << 0 << address << "ADRESA";
    }
    void validation()
    {
        QFETCH(QString, name);
        QFETCH(QString, address);
        QFETCH(QString, mbr);
        QFETCH(int, page);
        QFETCH(QString, warning);
        QFETCH(QString, focus);
        Env env;
        TFKorisnikUnos e;
        prepareNew(e);
        e.show();
        e.NAZIV_KORISNIKA->setText(name);
        e.ADRESA->setPlainText(address);
        e.MBR->setText(mbr);
        e.BR_0SOBNE->setText("OI-77");
        e.PageControl1->setCurrentIndex(page);
        save(e);
        QCOMPARE(env.dialogs.texts(), QStringList{warning});
        QCOMPARE(env.dialogs.shown[0].kind, QString("warning"));
        QCOMPARE(e.PageControl1->currentWidget(), e.TabSheet1);
        QVERIFY(e.focusWidget());
        QCOMPARE(e.focusWidget()->objectName(), focus);
        QVERIFY(e.isVisible());
        QCOMPARE(e.Tag, -1);
        QCOMPARE(e.NAZIV_KORISNIKA->text(), name);   // nothing of the input lost
        QCOMPARE(e.BR_0SOBNE->text(), QString("OI-77"));
        QCOMPARE(env.count(), 0);
    }

    void newCustomerStoredAsTyped()
    {
        Env env;
        env.d.exec({"SET GENERATOR GEN_KORISNICI_ID TO 40"});
        TFKorisnikUnos e;
        e.PageControl1->setCurrentIndex(2);   // left in front at an earlier showing
        prepareNew(e);
        e.show();
        QCOMPARE(e.PageControl1->currentWidget(), e.TabSheet1);
        QCOMPARE(e.focusWidget(), static_cast<QWidget*>(e.NAZIV_KORISNIKA));
        QVERIFY(e.KontUnos->isVisible());
        QVERIFY(!e.BBrisanje->isVisible());
        QCOMPARE(e.RABAT->text(), QString("0,00"));

        e.NAZIV_KORISNIKA->setText("  Šime Đurić  ");
        e.ADRESA->setPlainText("Ulica Ivana Gorana Kovačića 5\n51000 Rijeka");
        e.ADRESA_PREBIVAL->setPlainText("Split");
        e.TEL_FAX_MOB->setPlainText("051 111 222\n\n098 333 444");
        e.E_MAIL->setText("sime@mail.hr");
        e.MBR->setText(" 0101990330001 ");
        e.RABAT->selectAll();   // as entering the box with Tab does
        QTest::keyClicks(e.RABAT, "7,5");
        e.BR_0SOBNE->setText("1234");
        e.OSOBNA_IZDANA_U->setText("PU Rijeka");
        e.TVRTKA_ZAPOSLENJA->setText("Žito d.o.o.");
        e.ZASTUPA_TVRTKU_DANE->setChecked(false);
        save(e);
        QVERIFY(env.dialogs.shown.empty());
        QVERIFY(!e.isVisible());
        QCOMPARE(e.result(), int(QDialog::Accepted));
        QCOMPARE(e.Tag, 0);

        const Row r = env.row(41);   // the next value of GEN_KORISNICI_ID
        QVERIFY(!r.isEmpty());
        QCOMPARE(r["NAZIV_KORISNIKA"].toString(), QString("  Šime Đurić  "));
        QCOMPARE(r["MBR"].toString(), QString(" 0101990330001 "));
        QCOMPARE(r["ADRESA"].toString(), QString("Ulica Ivana Gorana Kovačića 5\r\n51000 Rijeka"));
        QCOMPARE(r["TEL_FAX_MOB"].toString(), QString("051 111 222\r\n\r\n098 333 444"));
        QCOMPARE(r["ZASTUPA_TVRTKU_DANE"].toString(), QString("NE"));
        QCOMPARE(r["RABAT"].kind(), db::Value::Kind::Decimal);
        QCOMPARE(r["RABAT"].toDecimal(), db::Decimal::fromUnits(75000));
        QCOMPARE(r["WEB"].kind(), db::Value::Kind::Text);   // an empty box: an empty text, not NULL
        QCOMPARE(r["WEB"].toString(), QString(""));
        // the values written stay readable from the statement (the contract editor takes them)
        QCOMPARE(e.IBSQL1.param("IDKORISNIKA").toInt(), 41);
        QCOMPARE(e.IBSQL1.param("RABAT").toDecimal(), db::Decimal::fromUnits(75000));

        // opened again: the lines on their lines, the flag cleared
        prepareEdit(e, 41);
        e.show();
        QVERIFY(!e.KontUnos->isVisible());
        QVERIFY(e.BBrisanje->isVisible());
        QCOMPARE(e.ADRESA->toPlainText(), QString("Ulica Ivana Gorana Kovačića 5\n51000 Rijeka"));
        QCOMPARE(e.ADRESA->document()->blockCount(), 2);
        QCOMPARE(e.TEL_FAX_MOB->document()->blockCount(), 3);
        QCOMPARE(e.NAZIV_KORISNIKA->text(), QString("  Šime Đurić  "));
        QCOMPARE(e.RABAT->text(), QString("7,50"));
        QVERIFY(!e.ZASTUPA_TVRTKU_DANE->isChecked());
        QCOMPARE(e.TVRTKA_ZAPOSLENJA->text(), QString("Žito d.o.o."));
        e.reject();
    }

    void flagRead_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("checked");
        QTest::newRow("DA") << "DA" << true;
        QTest::newRow("NE") << "NE" << false;
        QTest::newRow("da") << "da" << false;
        QTest::newRow("D") << "D" << false;
        QTest::newRow("X") << "X" << false;
    }
    void flagRead()
    {
        QFETCH(QString, stored);
        QFETCH(bool, checked);
        Env env;
        env.d.exec({QString("insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA) "
                            "values (3, 'Ana', '%1', 'Pula')").arg(stored)});
        TFKorisnikUnos e;
        e.ZASTUPA_TVRTKU_DANE->setChecked(!checked);
        prepareEdit(e, 3);
        e.show();
        QCOMPARE(e.ZASTUPA_TVRTKU_DANE->isChecked(), checked);
        // saved unchanged, the flag is written as one of the two
        e.MBR->setText("1");
        save(e);
        QCOMPARE(env.row(3)["ZASTUPA_TVRTKU_DANE"].toString(), QString(checked ? "DA" : "NE"));
    }

    void tooLongRefusedByServer_data()
    {
        QTest::addColumn<QString>("column");
        QTest::addColumn<int>("length");
        QTest::newRow("name of 71") << "NAZIV_KORISNIKA" << 71;
        QTest::newRow("JMBG of 33") << "MBR" << 33;
        QTest::newRow("place of issue of 21") << "OSOBNA_IZDANA_U" << 21;
        QTest::newRow("address of 101 with line breaks") << "ADRESA" << 101;
    }
    void tooLongRefusedByServer()
    {
        QFETCH(QString, column);
        QFETCH(int, length);
        Env env;
        TFKorisnikUnos e;
        prepareNew(e);
        e.show();
        fillRequired(e);
        QString text;
        for (int i = 0; i < length; ++i) text += QChar(i % 10 == 9 && column == "ADRESA" ? '\n' : u'č');
        if (column == "ADRESA") {
            // 91 letters and 10 line breaks typed: 111 characters stored with CR LF
            text = text.left(length);
            e.ADRESA->setPlainText(text);
        } else {
            e.setControlText(column, text);
        }
        const QString shown = e.controlText(column);
        save(e);   // the server refuses; the error leaves the click to the application's box
        const QStringList errors = env.dialogs.texts("error");
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors[0].contains("truncation", Qt::CaseInsensitive) || errors[0].contains("overflow", Qt::CaseInsensitive),
                 qPrintable(errors[0]));
        QVERIFY(e.isVisible());
        QCOMPARE(e.Tag, -1);
        QCOMPARE(e.controlText(column), shown);   // nothing lost of the input
        QCOMPARE(e.NAZIV_KORISNIKA->text().isEmpty(), false);
        QCOMPARE(env.count(), 0);
        QVERIFY(!env.dm.IBTransaction1.isActive());   // nothing half-written stays pending

        // shortened, the same dialog saves; the id drawn for the refused row is lost
        e.setControlText(column, column == "ADRESA" ? QString("Pula") : QString("Kratko"));
        save(e);
        QCOMPARE(env.dialogs.texts("error").size(), 1);
        QVERIFY(!e.isVisible());
        QCOMPARE(env.count(), 1);
        QVERIFY(env.row(1).isEmpty());
        QVERIFY(!env.row(2).isEmpty());
    }

    void deleteYesAndNo()
    {
        Env env;
        env.addCustomer(5, "Marko");
        env.addCustomer(6, "Iva");
        TFKorisnikUnos e;
        prepareEdit(e, 5);
        e.show();
        e.NAZIV_KORISNIKA->setText("nešto drugo");
        env.dialogs.confirmAnswers = {false};
        QTest::mouseClick(e.BBrisanje, Qt::LeftButton);
        QCOMPARE(env.dialogs.texts("confirm"), QStringList{"Želite li obrisati zapis?"});
        QVERIFY(e.isVisible());
        QCOMPARE(env.count(), 2);
        QCOMPARE(env.row(5)["NAZIV_KORISNIKA"].toString(), QString("Marko"));

        env.dialogs.confirmAnswers = {true};
        QTest::mouseClick(e.BBrisanje, Qt::LeftButton);
        QVERIFY(!e.isVisible());
        QCOMPARE(e.result(), int(QDialog::Accepted));
        QVERIFY(env.row(5).isEmpty());
        QVERIFY(!env.row(6).isEmpty());
    }

    void continuousEntry()
    {
        Env env;
        TFKorisnikUnos e;
        prepareNew(e);
        e.KontUnos->setChecked(true);
        e.show();
        for (const char* name : {"Prvi", "Drugi", "Treći"}) {
            fillRequired(e, name);
            e.ZASTUPA_TVRTKU_DANE->setChecked(true);
            e.RABAT->setText("3");
            save(e);
            QVERIFY(e.isVisible());
            QCOMPARE(e.Tag, -1);
            QCOMPARE(e.NAZIV_KORISNIKA->text(), QString());    // ready for the next one
            QCOMPARE(e.ADRESA->toPlainText(), QString());
            QVERIFY(!e.ZASTUPA_TVRTKU_DANE->isChecked());
            QCOMPARE(e.RABAT->text(), QString("0,00"));
        }
        QCOMPARE(env.count(), 3);
        QCOMPARE(env.row(1)["NAZIV_KORISNIKA"].toString(), QString("Prvi"));
        QCOMPARE(env.row(2)["NAZIV_KORISNIKA"].toString(), QString("Drugi"));
        QCOMPARE(env.row(3)["NAZIV_KORISNIKA"].toString(), QString("Treći"));
        QCOMPARE(env.row(3)["ZASTUPA_TVRTKU_DANE"].toString(), QString("DA"));
        QCOMPARE(env.row(3)["RABAT"].toDecimal(), db::Decimal(3));
        QTest::mouseClick(e.BIzlaz, Qt::LeftButton);
        QCOMPARE(e.result(), int(QDialog::Rejected));
    }

    void unchangedSaveRewritesSameValues()
    {
        Env env;
        env.d.exec({"insert into KORISNICI values (9, 'Tvrtka Čakovec', '1234567890123', 'DA', "
                    "'Trg 1' || ascii_char(13) || ascii_char(10) || 'Čakovec', 'Drugdje 2', 'OI1', 'MUP Čakovec', "
                    "'P1', 'MUP Varaždin', 'V1', 'PU Zagreb', 'a@b.hr', '040 1' || ascii_char(13) || ascii_char(10) || '091 2', "
                    "'Tvrtka d.d.', 'Industrijska 3', '040 9', 'ured@tvrtka.hr', 'www.tvrtka.hr', 12.35)",
                    "insert into KORISNICI (IDKORISNIKA, NAZIV_KORISNIKA, ZASTUPA_TVRTKU_DANE, ADRESA, MBR) "
                    "values (10, 'Netko', 'NE', 'Pula', '77')"});
        const Row before = env.row(9);
        const Row other = env.row(10);
        TFKorisnikUnos e;
        prepareEdit(e, 9);
        e.show();
        QCOMPARE(e.ADRESA->toPlainText(), QString("Trg 1\nČakovec"));
        QVERIFY(e.ZASTUPA_TVRTKU_DANE->isChecked());
        QCOMPARE(e.RABAT->text(), QString("12,35"));
        save(e);
        QVERIFY(env.dialogs.shown.empty());
        QVERIFY(!e.isVisible());
        QVERIFY(e.IBSQL1.text().startsWith("UPDATE KORISNICI SET"));
        QCOMPARE(e.IBSQL1.rowsAffected(), 1);
        QCOMPARE(env.row(9), before);
        QCOMPARE(env.row(10), other);
    }

    void discountInput_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");     // after leaving the box
        QTest::addColumn<qint64>("units");      // the value, in 1/10000
        QTest::newRow("with comma") << "12,34" << "12,34" << qint64(123400);
        QTest::newRow("with point") << "0.29" << "0,29" << qint64(2900);
        QTest::newRow("whole") << "100" << "100,00" << qint64(1000000);
        QTest::newRow("third decimal refused") << "1,005" << "1,00" << qint64(10000);
        QTest::newRow("fourth digit refused") << "1234" << "123,00" << qint64(1230000);
        QTest::newRow("letters and sign refused") << "-a5" << "5,00" << qint64(50000);
        QTest::newRow("unfinished") << "12," << "12,00" << qint64(120000);
        QTest::newRow("empty") << "" << "" << qint64(0);
    }
    void discountInput()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(qint64, units);
        QWidget w;
        auto* edit = new TDecimalEdit(&w);
        auto* next = new QLineEdit(&w);
        w.show();
        QApplication::setActiveWindow(&w);
        edit->setFocus();
        QTest::keyClicks(edit, typed);
        QCOMPARE(edit->value(), db::Decimal::fromUnits(units));
        next->setFocus();
        QCOMPARE(edit->text(), shown);
        QCOMPARE(edit->value(), db::Decimal::fromUnits(units));
    }

    // ------------------------------------------------------------------ the list

    void listColumns()
    {
        Env env;
        env.addCustomer(1, "Ana");
        TFKorisniciPregled p;
        QCOMPARE(p.windowTitle(), QString("Korisnici"));
        QCOMPARE(p.size(), QSize(682, 384));
        QVERIFY(!p.BOK->isVisibleTo(&p));
        QVERIFY(!p.BOK->isEnabled());
        QCOMPARE(p.BitBtn2->text(), QString("Pronađi"));
        QCOMPARE(p.BitBtn2->toolTip(), QString("Pretraživanje evidencije"));
        QCOMPARE(p.BitBtn3->text(), QString("Novi korisnik"));
        QCOMPARE(p.BitBtn3->toolTip(), QString("Unos novog korisnika"));
        QCOMPARE(p.BitBtn1->text(), QString("Povratak"));
        QCOMPARE(p.BOK->text(), QString("Preuzimanje"));
        QCOMPARE(p.IBQueryKorisnici.sql(), (QStringList{"select *", "from KORISNICI"}));
        p.show();
        QVERIFY(p.IBQueryKorisnici.isActive());
        db::DatasetModel* m = p.TFrGrid1->DataSource1();
        QCOMPARE(m->columnCount(), 20);
        const QStringList titles = {"##", "Naziv korisnika", "MBR", "Tvrtka", "Adresa stanovanja", "Adresa prebivališta",
                                    "Broj osobne", "Izdana u", "Broj putovnice", "Izdana u", "Broj vozačke", "Izdana u",
                                    "e-mail", "Telefon/fax/mobitel", "Tvtka zaposlenja", "Adresa tvrtke",
                                    "Telefoni/fax tvrtke", "E-mail tvrke", "WEB stranica", "Rabat"};
        QStringList shown;
        for (int i = 0; i < m->columnCount(); ++i) shown << m->headerData(i, Qt::Horizontal).toString();
        QCOMPARE(shown, titles);
        QHeaderView* h = p.TFrGrid1->Grid->horizontalHeader();
        QCOMPARE(h->sectionSize(0), 39);
        QCOMPARE(h->sectionSize(2), 105);
        QVERIFY(h->sectionSize(1) > h->sectionSize(3));      // 52 characters against 7
        QVERIFY(h->sectionSize(13) > h->sectionSize(12));    // 120 against 60
        db::Dataset& q = p.IBQueryKorisnici;
        QCOMPARE(q.field("NAZIV_KORISNIKA").displayWidth(), 52);
        QCOMPARE(q.field("RABAT").displayWidth(), 23);
        QCOMPARE(q.field("E_MAIL").origin(), QString("\"KORISNICI\".\"E_MAIL\""));
        QCOMPARE(q.field("BR_0SOBNE").origin(), QString("\"KORISNICI\".\"BR_0SOBNE\""));
        QCOMPARE(q.field("ZASTUPA_TVRTKU_DANE").title(), QString("Tvrtka"));
        QCOMPARE(m->data(m->index(0, 3)).toString(), QString("NE"));
    }

    void newRowsShownAtNextShowing()
    {
        Env env;
        env.addCustomer(1, "Ana");
        TFKorisniciPregled p;
        p.show();
        QCOMPARE(p.IBQueryKorisnici.recordCount(), 1);
        env.addCustomer(2, "Boris");   // added elsewhere
        QTest::mouseClick(p.BitBtn1, Qt::LeftButton);   // "Povratak" only hides
        QVERIFY(!p.isVisible());
        p.show();
        QCOMPARE(p.IBQueryKorisnici.recordCount(), 2);
    }

    void sortByEmailColumns()
    {
        Env env;
        env.addCustomer(1, "Ana", "E_MAIL, E_MAIL_TVRTKE", "'c@x.hr', 'a@t.hr'");
        env.addCustomer(2, "Boris", "E_MAIL, E_MAIL_TVRTKE", "'a@x.hr', 'c@t.hr'");
        env.addCustomer(3, "Cvita", "E_MAIL, E_MAIL_TVRTKE", "'b@x.hr', 'b@t.hr'");
        TFKorisniciPregled p;
        p.show();
        auto ids = [&p] {
            QList<int> out;
            db::Dataset& q = p.IBQueryKorisnici;
            for (int i = 0; i < q.recordCount(); ++i) out << q.valueAt(i, q.field("IDKORISNIKA")).toInt32();
            return out;
        };
        p.TFrGrid1->GridTitleClick(12);   // "e-mail"
        QCOMPARE(p.TFrGrid1->OrderClause, QString("ORDER BY \"KORISNICI\".\"E_MAIL\" ASC "));
        QCOMPARE(ids(), (QList<int>{2, 3, 1}));
        p.TFrGrid1->GridTitleClick(17);   // "E-mail tvrke"
        QCOMPARE(p.TFrGrid1->OrderClause, QString("ORDER BY \"KORISNICI\".\"E_MAIL_TVRTKE\" ASC "));
        QCOMPARE(ids(), (QList<int>{1, 3, 2}));
        p.TFrGrid1->GridTitleClick(17);
        QCOMPARE(ids(), (QList<int>{2, 3, 1}));
        QVERIFY(env.dialogs.shown.empty());
        // the order is kept at the next showing
        p.hide();
        p.show();
        QCOMPARE(ids(), (QList<int>{2, 3, 1}));
    }

    void findDialogIssuedIn()
    {
        Env env;
        env.addCustomer(1, "Ana", "OSOBNA_IZDANA_U, PUTOVNICA_IZDANA_U, VOZACKA_IZDANA_U", "'Zadar', 'Osijek', 'Pula'");
        env.addCustomer(2, "Boris", "OSOBNA_IZDANA_U, PUTOVNICA_IZDANA_U, VOZACKA_IZDANA_U", "'Osijek', 'Zadar', 'Split'");
        TFKorisniciPregled p;
        p.show();
        QTest::mouseClick(p.BitBtn2, Qt::LeftButton);
        fw::TFLocate* f = p.TFrGrid1->FindDialog();
        QVERIFY(f);
        QVERIFY(f->isVisible());
        QStringList entries;
        for (int i = 0; i < f->FieldNameComboBox->count(); ++i) entries << f->FieldNameComboBox->itemText(i);
        QCOMPARE(entries.count("Izdana u"), 3);
        QCOMPARE(entries.size(), 20);
        // the third "Izdana u" (driving licence) still searches the identity card's place
        f->FieldNameComboBox->setCurrentIndex(entries.lastIndexOf("Izdana u"));
        f->SearchValue->setText("Osijek");
        f->ExactMatchBtn->setChecked(true);
        QVERIFY(f->StartSearch(true));
        QCOMPARE(p.IBQueryKorisnici.value("IDKORISNIKA").toInt(), 2);
        f->SearchValue->setText("Split");
        QVERIFY(!f->StartSearch(true));
        // the popup item opens the same dialog
        p.TFrGrid1->Pronadji->trigger();
        QCOMPARE(p.TFrGrid1->FindDialog(), f);
    }

    void editorFromTheList()
    {
        Env env;
        env.addCustomer(1, "Ana");
        env.addCustomer(2, "Boris");
        env.addCustomer(3, "Cvita");
        TFKorisnikUnos editor;
        TFKorisniciPregled p;
        p.setEditor(&editor);
        p.show();
        p.IBQueryKorisnici.setRecNo(1);
        QString seenName;
        int seenTag = 0;
        whenModal([&](QWidget* w) {
            QCOMPARE(w, static_cast<QWidget*>(&editor));
            seenName = editor.NAZIV_KORISNIKA->text();
            seenTag = editor.Tag;
            editor.NAZIV_KORISNIKA->setText("Boris Babić");
            save(editor);
        });
        QTest::mouseDClick(p.TFrGrid1->Grid->viewport(), Qt::LeftButton, {},
                           p.TFrGrid1->Grid->visualRect(p.TFrGrid1->DataSource1()->index(1, 1)).center());
        QCOMPARE(seenName, QString("Boris"));
        QCOMPARE(seenTag, 2);
        QCOMPARE(editor.KeyValue, fw::RecordKey{2});
        // the list was reloaded and stays at the same row number
        QCOMPARE(p.IBQueryKorisnici.recNo(), 1);
        QCOMPARE(p.IBQueryKorisnici.value("NAZIV_KORISNIKA").toString(), QString("Boris Babić"));

        // "Novi korisnik": a new row, and the list refreshed after the editor
        whenModal([&](QWidget*) {
            QCOMPARE(editor.Tag, -1);
            QCOMPARE(editor.KeyValue, fw::RecordKey{-1});
            QCOMPARE(editor.NAZIV_KORISNIKA->text(), QString());
            fillRequired(editor, "Dora");
            save(editor);
        });
        QTest::mouseClick(p.BitBtn3, Qt::LeftButton);
        QCOMPARE(p.IBQueryKorisnici.recordCount(), 4);
        // cancelled: refreshed all the same, nothing written
        whenModal([&](QWidget*) { QTest::mouseClick(editor.BIzlaz, Qt::LeftButton); });
        QTest::mouseClick(p.BitBtn3, Qt::LeftButton);
        QCOMPARE(env.count(), 4);
    }

    void doubleClickOnEmptyList()
    {
        Env env;
        TFKorisnikUnos editor;
        TFKorisniciPregled p;
        p.setEditor(&editor);
        p.show();
        bool opened = false;
        QTimer::singleShot(0, qApp, [&] {
            if (QApplication::activeModalWidget()) {
                opened = true;
                editor.reject();
            }
        });
        p.TFrGrid1GridDblClick();
        QCoreApplication::processEvents();
        QVERIFY(!opened);
        QVERIFY(!editor.isVisible());
    }

    // ------------------------------------------------------------------ the chooser

    void chooser_data()
    {
        QTest::addColumn<int>("customers");
        QTest::addColumn<QString>("button");      // BOK, BitBtn1, Esc
        QTest::addColumn<bool>("picked");
        QTest::newRow("Preuzimanje") << 3 << "BOK" << true;
        QTest::newRow("Povratak") << 3 << "BitBtn1" << false;
        QTest::newRow("Esc") << 3 << "Esc" << false;
        QTest::newRow("empty list, Preuzimanje") << 0 << "BOK" << false;
    }
    void chooser()
    {
        QFETCH(int, customers);
        QFETCH(QString, button);
        QFETCH(bool, picked);
        Env env;
        for (int i = 1; i <= customers; ++i)
            env.addCustomer(i, QString("Kupac %1").arg(i), "RABAT", QString::number(i * 2.5, 'f', 2));
        QWidget owner;
        owner.show();
        TFKorisniciPregled* seen = nullptr;
        whenModal([&](QWidget* w) {
            seen = qobject_cast<TFKorisniciPregled*>(w);
            QVERIFY(seen);
            QCOMPARE(seen->parentWidget(), &owner);
            QVERIFY(seen->BOK->isVisible());
            QVERIFY(seen->BOK->isEnabled());
            QCOMPARE(seen->IBQueryKorisnici.recordCount(), customers);
            QVERIFY(seen->TFrGrid1->OrderClause.isEmpty());   // a fresh instance starts unsorted
            if (customers > 0) seen->IBQueryKorisnici.setRecNo(1);
            if (button == "Esc") QTest::keyClick(seen, Qt::Key_Escape);
            else QTest::mouseClick(seen->findChild<QPushButton*>(button), Qt::LeftButton);
        });
        const std::optional<customers::PickedCustomer> c = customers::pickCustomer(&owner);
        QVERIFY(seen);
        QCOMPARE(c.has_value(), picked);
        if (picked) {
            QCOMPARE(c->IDKORISNIKA, 2);
            QCOMPARE(c->NAZIV_KORISNIKA, QString("Kupac 2"));
            QCOMPARE(c->MBR, QString("M2"));
            QCOMPARE(c->RABAT, db::Decimal(5));
        }
        QCOMPARE(owner.findChildren<TFKorisniciPregled*>().size(), 0);   // destroyed after use
    }
};

KAVOR_APP_TEST_MAIN(TstCustomers)
#include "tst_customers.moc"
