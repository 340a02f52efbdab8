#include "app/startup.h"

namespace kavor {

Startup::Startup()
{
    MainForm = std::make_unique<TMainForm>();                                 //  1
    AboutForm = std::make_unique<TAboutForm>(MainForm.get());                 //  2
    MainForm->AboutForm = AboutForm.get();
    DataModule1 = std::make_unique<db::TDataModule1>();                       //  3
    OptionForm = std::make_unique<settings::TOptionForm>(MainForm.get());     //  4 loads the stored settings

    // 5..17: the windows of vehicles, customers and contracts, in the order listed in
    // startup.h, each followed by the attach call that enables its menu action. Example:
    //   FKorisnikUnos = std::make_unique<TFKorisnikUnos>(MainForm.get());   // 10
    //   MainForm->attach(TMainForm::Opens::NewCustomer, [this] {
    //       FKorisnikUnos->TableName = "KORISNICI"; ... FKorisnikUnos->Tag = -1; FKorisnikUnos->exec();
    //   });

    FKorisnikUnos = std::make_unique<customers::TFKorisnikUnos>(MainForm.get());            // 10
    MainForm->attach(TMainForm::Opens::NewCustomer, [this] {
        customers::TFKorisnikUnos* e = FKorisnikUnos.get();
        e->TableName = QStringLiteral("KORISNICI");
        e->KeyFields = QStringLiteral("IDKORISNIKA");
        e->KeyValue = {-1};
        e->Tag = -1;
        e->exec();   // the counters follow when the main window is active again
    });
    FKorisniciPregled = std::make_unique<customers::TFKorisniciPregled>(MainForm.get());    // 11
    FKorisniciPregled->setEditor(FKorisnikUnos.get());
    MainForm->attach(TMainForm::Opens::Customers, [this] {
        FKorisniciPregled->show();
        FKorisniciPregled->raise();
        FKorisniciPregled->activateWindow();
    });
}

// Members go in reverse order: the later windows first, then the settings dialog, the data
// module (closing the connection ends its transactions by their default action), the about
// box and the main window.
Startup::~Startup() = default;

} // namespace kavor
