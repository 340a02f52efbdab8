#pragma once
// Settings stores of a test: both the machine-wide and the per-user store live in a
// temporary folder of their own, never in the real configuration folders.
#include "settings/settingsstore.h"
#include <QDir>
#include <QSettings>
#include <QTemporaryDir>

namespace shell_test {

class TempStores {
public:
    TempStores()
    {
        systemDir_ = dir_.filePath(QStringLiteral("system"));
        userDir_ = dir_.filePath(QStringLiteral("user"));
        QDir().mkpath(systemDir_);
        QDir().mkpath(userDir_);
        point(systemDir_, userDir_);
    }
    ~TempStores() { point(dir_.filePath(QStringLiteral("gone/system")), dir_.filePath(QStringLiteral("gone/user"))); }

    // Makes the machine-wide store unwritable: its folder lies under a plain file, which
    // no user (not even root) can create folders in.
    void makeSystemUnwritable()
    {
        QFile f(dir_.filePath(QStringLiteral("plainfile")));
        f.open(QIODevice::WriteOnly);
        f.close();
        point(dir_.filePath(QStringLiteral("plainfile/system")), userDir_);
    }

    // Direct access for fixtures and checks.
    static void setMain(const QString& key, const QVariant& value) { set(settings::kMainKey, key, value); }
    static void setPrint(const QString& key, const QVariant& value) { set(settings::kPrintSetupKey, key, value); }
    static void setPosition(const QString& key, const QVariant& value)
    {
        auto s = settings::userStore();
        s->setValue(settings::kPositionKey + QLatin1Char('/') + key, value);
        s->sync();
    }
    static QVariant main(const QString& key) { return settings::machineStore()->value(settings::kMainKey + QLatin1Char('/') + key); }
    static QVariant print(const QString& key) { return settings::machineStore()->value(settings::kPrintSetupKey + QLatin1Char('/') + key); }
    static QVariant position(const QString& key) { return settings::userStore()->value(settings::kPositionKey + QLatin1Char('/') + key); }

private:
    static void set(const QString& group, const QString& key, const QVariant& value)
    {
        auto s = settings::machineStore();
        s->setValue(group + QLatin1Char('/') + key, value);
        s->sync();
    }
    static void point(const QString& system, const QString& user)
    {
        for (auto format : {QSettings::NativeFormat, QSettings::IniFormat}) {
            QSettings::setPath(format, QSettings::SystemScope, system);
            QSettings::setPath(format, QSettings::UserScope, user);
        }
    }
    QTemporaryDir dir_;
    QString systemDir_, userDir_;
};

} // namespace shell_test
