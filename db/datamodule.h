#pragma once
// The data module: the one connection of the process, its four transactions of fixed
// roles and the two shared statements.
#include "db/dataset.h"
#include <QObject>

namespace db {

// What the settings dialog's connection fields hold.
struct ConnectionFields {
    QString server;        // Server
    QString path;          // Edit1
    bool local = true;     // Lokal ("Lokalno")
    bool loginPrompt = false;  // CheckBox1 ("Upit prilikom spajanja")
    QString user;          // Edit2
    QString password;      // MaskEdit1, in plain
};

struct ConnectionTarget {
    QString databaseName;
    QStringList params;
    bool loginPrompt = false;
};

// The database-name and parameter rules, shared by the main window's connect and the
// settings dialog's connection test.
ConnectionTarget connectionTarget(const ConnectionFields& f);
void applyTarget(Connection& c, const ConnectionTarget& t);

class TDataModule1 : public QObject {
    Q_OBJECT
public:
    explicit TDataModule1(QObject* parent = nullptr);
    ~TDataModule1() override;

    Connection DB;
    Transaction IBTransaction1{&DB, Transaction::EndAction::Commit};
    Transaction Read{&DB, Transaction::EndAction::Commit};
    Transaction IBTransaction2{&DB, Transaction::EndAction::Rollback};
    Transaction IBTransaction3{&DB, Transaction::EndAction::Commit};
    Statement IBSQL1{&DB, &IBTransaction1};
    Statement IBSQL2{&DB, &IBTransaction2};
    Dataset HelpQuery{&DB, &IBTransaction3};

    static TDataModule1* instance();
};

// The module of the running process (created third at start).
inline TDataModule1* DataModule1() { return TDataModule1::instance(); }

} // namespace db
