#include "settings/settingsstore.h"
#include <QCoreApplication>
#include <QDir>

namespace settings {

static const QString kOrganization = QStringLiteral("Brelmor");
static const QString kApplication = QStringLiteral("Kavor");

std::unique_ptr<QSettings> machineStore()
{
    return std::make_unique<QSettings>(QSettings::SystemScope, kOrganization, kApplication);
}

std::unique_ptr<QSettings> userStore()
{
    auto s = std::make_unique<QSettings>(QSettings::UserScope, kOrganization, kApplication);
    s->setFallbacksEnabled(false);   // the position is the user's own, never the machine's
    return s;
}

bool flush(QSettings& store)
{
    store.sync();
    return store.status() == QSettings::NoError;
}

QString ScramblePassword(const QString& text)
{
    static const QString key = QStringLiteral("#Q7r-Kd9");
    QString out = text;
    for (qsizetype i = 0; i < out.size(); ++i)
        out[i] = QChar(char16_t(out[i].unicode() ^ key[i % key.size()].unicode()));
    return out;
}

QString encodeStoredPassword(const QString& scrambled)
{
    if (!scrambled.contains(QChar(0)) && !scrambled.startsWith(kEscapeMark)) return scrambled;
    QString out(kEscapeMark);
    for (QChar c : scrambled) out += QStringLiteral("%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
    return out;
}

QString decodeStoredPassword(const QString& stored)
{
    if (!stored.startsWith(kEscapeMark) || (stored.size() - 1) % 4 != 0) return stored;
    QString out;
    for (qsizetype i = 1; i < stored.size(); i += 4) {
        bool ok = false;
        const uint code = stored.mid(i, 4).toUInt(&ok, 16);
        if (!ok) return stored;
        out += QChar(char16_t(code));
    }
    return out;
}

QString programFolder() { return QCoreApplication::applicationDirPath(); }

QString defaultDatabasePath()
{
    return QDir(programFolder()).filePath(QStringLiteral("Baza/KAVOR.FDB"));
}

QString defaultLogoPath() { return QDir(programFolder()).filePath(kLogoFileName); }

} // namespace settings
