// The database tool: creates an empty database of the application.
#include "db/schema.h"
#include <QCoreApplication>
#include <QFileInfo>
#include <QDir>
#include <cstdio>

static int usage()
{
    std::fprintf(stderr,
                 "Uporaba:\n"
                 "  kavor-db create PUTANJA [KORISNIK [LOZINKA]]   nova prazna baza (datoteka ili poslužitelj:/putanja)\n");
    return 2;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.size() < 2) return usage();
    const QString command = args[0];
    const QString path = args[1];
    const QString user = args.value(2, QStringLiteral("SYSDBA"));
    const QString password = args.value(3);
    try {
        if (command == QLatin1String("create")) {
            bool local = !path.contains(QLatin1Char(':')) || QDir::isAbsolutePath(path) && path.indexOf(QLatin1Char(':')) < 0;
            if (local) QDir().mkpath(QFileInfo(path).absolutePath());
            db::Connection c;
            db::createDatabase(c, path, user, password);
            c.close();
            std::printf("Baza %s je stvorena.\n", qPrintable(path));
            return 0;
        }
        return usage();
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "Greška: %s\n", qPrintable(e.message()));
        return 1;
    }
}
