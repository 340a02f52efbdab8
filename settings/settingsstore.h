#pragma once
// The settings store: the machine-wide part holds the settings of the agency and of the
// database connection, the per-user part the main window's position.
#include <QSettings>
#include <QString>
#include <memory>

namespace settings {

// Keys (groups) inside the stores.
inline const QString kMainKey = QStringLiteral("SOFTWARE/Brelmor/Kavor");
inline const QString kPrintSetupKey = QStringLiteral("SOFTWARE/Brelmor/Kavor/PrintSetup");
inline const QString kPositionKey = QStringLiteral("Software/Brelmor/Kavor/poz");

// The machine-wide store (system scope) and the current user's store (user scope only).
std::unique_ptr<QSettings> machineStore();
std::unique_ptr<QSettings> userStore();

// Writes what is pending and tells whether the store took it.
bool flush(QSettings& store);

// The password's stored form and back: one routine for both directions, its own inverse
// for passwords of any length (the 8-character key repeats).
QString ScramblePassword(const QString& text);

// A scrambled password as it goes into the store. A scrambled form that holds a zero
// character (or would be taken for the escaped form) is written escaped: kEscapeMark
// followed by four hexadecimal digits per character. Every other form is written as it is,
// so values stored in the plain form read back as before.
inline constexpr QChar kEscapeMark = QChar(0x0001);
QString encodeStoredPassword(const QString& scrambled);
QString decodeStoredPassword(const QString& stored);

// Defaults.
QString programFolder();              // the folder that holds the program file
QString defaultDatabasePath();        // <program folder>/Baza/KAVOR.FDB
QString defaultLogoPath();            // <program folder>/kavor_logo.bmp
inline const QString kDefaultUser = QStringLiteral("SYSDBA");
inline const QString kDefaultPassword = QStringLiteral("tribolen4");
inline const QString kDefaultCompany = QStringLiteral("Auto Jadran d.o.o.");
inline const QString kDefaultAddress = QStringLiteral("Obala kneza Branimira 12");
inline const QString kDefaultTown = QStringLiteral("21000 Split");
inline const QString kDefaultContact = QStringLiteral("tel. 021 345 678, najam@autojadran.hr");
inline const QString kLogoFileName = QStringLiteral("kavor_logo.bmp");

} // namespace settings
