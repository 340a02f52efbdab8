// Kavor: rental contracts, vehicles and customers of a car-rental agency.
#include "app/application.h"
#include "app/startup.h"
#include "framework/dialogs_qt.h"

int main(int argc, char** argv)
{
    kavor::Application app(argc, argv);
    fw::QtDialogs dialogs;
    fw::installDialogs(&dialogs);
    int result = 0;
    {
        kavor::Startup windows;
        windows.MainForm->show();
        result = app.exec();
    }
    fw::installDialogs(nullptr);
    return result;
}
