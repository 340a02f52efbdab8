#pragma once
// The application object: Croatian toolkit texts, the font names of the original layouts
// mapped to installed metric-compatible fonts, and the standard error box for everything
// that escapes an event handler.
#include <QApplication>
#include <QLocale>

namespace kavor {

class Application : public QApplication {
    Q_OBJECT
public:
    Application(int& argc, char** argv);
    // Delivers the event; an exception that escapes its handler ends there and is shown
    // in the standard error box, and the window stays as it was.
    bool notify(QObject* receiver, QEvent* event) override;
};

// Arial and Times New Roman -> Liberation Sans / Serif, Tahoma and MS Sans Serif -> DejaVu Sans.
void installFontSubstitutions();
// Qt's own Croatian texts (buttons and standard dialogs); false when not installed.
bool loadToolkitTranslation(QCoreApplication& app);
// The text shown for an exception caught by the application object.
QString errorText(std::exception_ptr e);

} // namespace kavor
