#include "app/application.h"
#include "db/error.h"
#include "framework/dialogs.h"
#include <QDir>
#include <QFont>
#include <QIcon>
#include <QLibraryInfo>
#include <QTranslator>
#include <exception>

static void initResources() { Q_INIT_RESOURCE(kavor); }

namespace kavor {

void installFontSubstitutions()
{
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
    QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
}

bool loadToolkitTranslation(QCoreApplication& app)
{
    auto* tr = new QTranslator(&app);
    const QStringList folders = {QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                 QStringLiteral("/usr/share/qt6/translations")};
    for (const QString& folder : folders) {
        if (tr->load(QStringLiteral("qtbase_hr"), folder)) {
            app.installTranslator(tr);
            return true;
        }
    }
    delete tr;
    return false;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv)
{
    initResources();
    setApplicationName(QStringLiteral("Kavor"));
    setOrganizationName(QStringLiteral("Brelmor"));
    setApplicationDisplayName(QStringLiteral("Evidencija ugovora o najmu vozila"));
    installFontSubstitutions();
    loadToolkitTranslation(*this);
    setWindowIcon(QIcon(QStringLiteral(":/kavor/icons/logo.png")));
}

QString errorText(std::exception_ptr e)
{
    try {
        std::rethrow_exception(e);
    } catch (const db::DbError& err) {
        return err.message();
    } catch (const std::exception& err) {
        const QString what = QString::fromLocal8Bit(err.what());
        return what.isEmpty() ? QStringLiteral("Neočekivana pogreška programa.") : what;
    } catch (...) {
        return QStringLiteral("Neočekivana pogreška programa.");
    }
}

bool Application::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        const QString text = errorText(std::current_exception());
        try {
            fw::dialogs().error(text);
        } catch (...) {
            // the box itself failed: nothing more can be shown, and nothing may cross the loop
        }
        return false;
    }
}

} // namespace kavor
