#include "testdb.h"
#include <QDir>
#include <QLocale>

namespace testing_support {

TempDatabase::TempDatabase()
{
    path_ = dir_.filePath(QStringLiteral("test.fdb"));
    db::Connection c;
    db::createDatabase(c, path_);
    c.close();
}

void TempDatabase::connect(db::Connection& c) const
{
    db::applyTarget(c, db::connectionTarget({QString(), path_, true, false, QStringLiteral("SYSDBA"), QString()}));
    c.open();
}

void TempDatabase::exec(const QStringList& statements) const
{
    db::Connection c;
    connect(c);
    db::Transaction t(&c);
    for (const QString& sql : statements) {
        db::Statement s(&c, &t);
        s.setSql(sql);
        s.execQuery();
    }
    t.commit();
    c.close();
}

ServerInfo testServer()
{
    ServerInfo s;
    s.host = qEnvironmentVariable("KAVOR_TEST_SERVER", QStringLiteral("localhost"));
    s.user = QStringLiteral("SYSDBA");
    s.password = qEnvironmentVariable("KAVOR_TEST_PASSWORD");
    return s;
}

QString serverScratchDir()
{
    QString d = QStringLiteral("/tmp/kavor-server-tests");
    QDir().mkpath(d);
    QFile::setPermissions(d, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner |
                                 QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup |
                                 QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther);
    return d;
}

} // namespace testing_support
