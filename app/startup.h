#pragma once
// The windows of the program, created once each at start in their fixed order and
// destroyed together when the program ends (the later ones first).
#include "app/aboutform.h"
#include "app/mainform.h"
#include "customers/korisnicipregled.h"
#include "customers/korisnikunos.h"
#include "db/datamodule.h"
#include "settings/optionform.h"
#include <memory>

namespace kavor {

class Startup {
public:
    Startup();           // creates every window in the start-up order, hidden
    ~Startup();
    Startup(const Startup&) = delete;
    Startup& operator=(const Startup&) = delete;

    // The start-up order. The data module comes before every window whose datasets use its
    // connection, and the settings dialog reads the stored settings while it is created,
    // before the main window is first shown. A window that lands later is added as a member
    // at its numbered place below and created at the same place in Startup::Startup().
    std::unique_ptr<TMainForm> MainForm;                     //  1 "Evidencija ugovora o najmu vozila"
    std::unique_ptr<TAboutForm> AboutForm;                   //  2 "O programu"
    std::unique_ptr<db::TDataModule1> DataModule1;           //  3 connection and transactions
    std::unique_ptr<settings::TOptionForm> OptionForm;       //  4 "Postavke sustava"
    //  5 TFVozilaPregled     "Pregled vozila"       -> MainForm->attach(Opens::Vehicles, ...)
    //  6 TFVoziloUnos        "Vozilo"               -> MainForm->attach(Opens::NewVehicle, ...)
    //  7 TFServisUnos        "Servis"
    //  8 TFCjenikPregled     "Cjenik"               -> MainForm->attach(Opens::PriceList, ...)
    //  9 TFCjenikUnos        "Cjenik"
    std::unique_ptr<customers::TFKorisnikUnos> FKorisnikUnos;           // 10 "Korisnik"  (Opens::NewCustomer)
    std::unique_ptr<customers::TFKorisniciPregled> FKorisniciPregled;   // 11 "Korisnici" (Opens::Customers)
    // 12 TFOsiguranjeUnos    "Osiguranje"
    // 13 TFUgovoriPregled    "Ugovori"              -> MainForm->attachContracts(...)
    // 14 TFUgovorUnos        "Ugovor"               -> MainForm->attach(Opens::NewContract, ...)
    // 15 TFBoje              "Boje"                 -> MainForm->attach(Opens::Colours, ...)
    // 16 TFUgovoriIsis       "Ispis ugovora"
    // 17 TFVozilaPromet      "Pregled prometa po vozilu" (holds no data, never shown)
};

} // namespace kavor
