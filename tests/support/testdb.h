#pragma once
// Fresh databases for tests: an embedded database file in a temporary folder, made from
// the schema, and the Firebird server of the test machine for the server group.
#include "db/datamodule.h"
#include "db/schema.h"
#include <QTemporaryDir>
#include <memory>

namespace testing_support {

class TempDatabase {
public:
    TempDatabase();                 // creates the file and its tables
    QString path() const { return path_; }
    QString dir() const { return dir_.path(); }
    // Opens `c` on the database through the embedded engine.
    void connect(db::Connection& c) const;
    // Opens the data module's connection on it.
    void connect(db::TDataModule1& dm) const { connect(dm.DB); }
    // Runs statements in one committed transaction (fixtures).
    void exec(const QStringList& statements) const;
private:
    QTemporaryDir dir_;
    QString path_;
};

// The server of the test machine: host from KAVOR_TEST_SERVER (default localhost),
// the SYSDBA password from KAVOR_TEST_PASSWORD. Empty when no server group is to run.
struct ServerInfo {
    QString host, user, password;
    bool available() const { return !password.isEmpty(); }
};
ServerInfo testServer();
// A folder the server process can write to, for databases made on the server.
QString serverScratchDir();

} // namespace testing_support
