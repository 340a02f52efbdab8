#pragma once
// The connection to one Firebird database and the transactions on it.
#include "db/error.h"
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

namespace Firebird { class IAttachment; class ITransaction; }

namespace db {

class Transaction;

// Something that reads or writes through a transaction and must close when it ends
// (statements with an open cursor, datasets).
class TransactionUser {
public:
    virtual ~TransactionUser() = default;
    virtual void transactionEnded() = 0;     // commit or rollback: close
    virtual void connectionClosing() {}      // free what belongs to the attachment
    // The transaction or the connection is being destroyed before its user: forget it.
    virtual void transactionDestroyed() {}
    virtual void connectionDestroyed() {}
};

class Connection {
public:
    // Asked for the user name and password when the login prompt is on; false = cancelled.
    using LoginHandler = std::function<bool(const QString& databaseName, QString& user, QString& password)>;

    Connection() = default;
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    void setDatabaseName(const QString& name) { databaseName_ = name; }
    const QString& databaseName() const { return databaseName_; }
    QStringList& params() { return params_; }           // "name=value" texts
    const QStringList& params() const { return params_; }
    void setParams(const QStringList& p) { params_ = p; }
    void setLoginPrompt(bool on) { loginPrompt_ = on; }
    bool loginPrompt() const { return loginPrompt_; }
    void setLoginHandler(LoginHandler h) { loginHandler_ = std::move(h); }

    void open();            // throws DbError; a cancelled login is an error too
    // Ends every active transaction by its default action, closes every dataset, detaches.
    void close();
    bool isOpen() const { return attachment_ != nullptr; }

    // Creates a new, empty database with this connection's name and parameters and
    // leaves the connection open on it (default character set WIN1250, dialect 3).
    void createDatabase();

    QStringList tableNames();     // the user tables, alphabetically
    Firebird::IAttachment* attachment();   // throws when closed

    // bookkeeping of the objects bound to this connection
    void add(Transaction* t) { transactions_.push_back(t); }
    void remove(Transaction* t);
    void add(TransactionUser* u) { users_.push_back(u); }
    void remove(TransactionUser* u);

private:
    std::vector<unsigned char> buildDpb(bool forCreate);
    QString databaseName_;
    QStringList params_;
    bool loginPrompt_ = false;
    LoginHandler loginHandler_;
    QString promptedUser_, promptedPassword_;
    Firebird::IAttachment* attachment_ = nullptr;
    std::vector<Transaction*> transactions_;
    std::vector<TransactionUser*> users_;
};

class Transaction {
public:
    enum class EndAction { Commit, Rollback };

    explicit Transaction(Connection* connection = nullptr, EndAction defaultAction = EndAction::Commit);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void setConnection(Connection* c);
    Connection* connection() const { return connection_; }
    EndAction defaultAction() const { return defaultAction_; }
    void setDefaultAction(EndAction a) { defaultAction_ = a; }
    // read_committed, rec_version, nowait
    QStringList params() const { return {QStringLiteral("read_committed"), QStringLiteral("rec_version"), QStringLiteral("nowait")}; }

    void start();                 // does nothing when already active
    void commit();                // closes the statements and datasets that read through it
    void commitRetaining();       // keeps them open
    void rollback();
    void endByDefault();          // commit or rollback, whichever is the default action
    bool isActive() const { return handle_ != nullptr; }
    Firebird::ITransaction* handle();     // starts the transaction when needed

    void add(TransactionUser* u) { users_.push_back(u); }
    void remove(TransactionUser* u);

private:
    void closeUsers();
    void forget();
    Connection* connection_ = nullptr;
    EndAction defaultAction_;
    Firebird::ITransaction* handle_ = nullptr;
    std::vector<TransactionUser*> users_;
    friend class Connection;
};

} // namespace db
