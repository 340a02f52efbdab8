#include "db/connection.h"
#include "db/cp1250.h"
#include "db/fb.h"
#include "db/statement.h"
#include <ibase.h>
#include <algorithm>
#include <optional>

using namespace Firebird;

namespace db {

namespace {
struct DpbTag { const char* name; unsigned char tag; };
const DpbTag kDpbTags[] = {
    {"user_name", isc_dpb_user_name}, {"user", isc_dpb_user_name},
    {"password", isc_dpb_password}, {"lc_ctype", isc_dpb_lc_ctype},
    {"sql_role_name", isc_dpb_sql_role_name}, {"role", isc_dpb_sql_role_name},
};
}

Connection::~Connection()
{
    try { close(); } catch (...) {}
    for (Transaction* t : transactions_) t->connection_ = nullptr;
    for (TransactionUser* u : std::vector<TransactionUser*>(users_)) u->connectionDestroyed();
}

std::vector<unsigned char> Connection::buildDpb(bool forCreate)
{
    fb::Status st;
    IXpbBuilder* b = fb::util()->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    st.check();
    auto add = [&](unsigned char tag, const QByteArray& v) { b->insertString(&st, tag, v.constData()); };
    for (const QString& p : params_) {
        int eq = p.indexOf(QLatin1Char('='));
        QString name = (eq < 0 ? p : p.left(eq)).trimmed().toLower();
        QByteArray value = toCp1250(eq < 0 ? QString() : p.mid(eq + 1));
        for (const DpbTag& t : kDpbTags)
            if (name == QLatin1String(t.name)) add(t.tag, value);
    }
    if (loginPrompt_) {
        add(isc_dpb_user_name, toCp1250(promptedUser_));
        add(isc_dpb_password, toCp1250(promptedPassword_));
    }
    if (forCreate) {
        b->insertInt(&st, isc_dpb_sql_dialect, 3);
        b->insertString(&st, isc_dpb_set_db_charset, "WIN1250");
        b->insertInt(&st, isc_dpb_page_size, 8192);
    }
    std::vector<unsigned char> out(b->getBuffer(&st), b->getBuffer(&st) + b->getBufferLength(&st));
    b->dispose();
    st.check();
    return out;
}

void Connection::open()
{
    if (isOpen()) return;
    if (loginPrompt_) {
        promptedUser_.clear();
        promptedPassword_.clear();
        if (!loginHandler_ || !loginHandler_(databaseName_, promptedUser_, promptedPassword_))
            throw DbError(QStringLiteral("Prijava u bazu je otkazana."));
    }
    auto dpb = buildDpb(false);
    fb::Status st;
    QByteArray name = toCp1250(databaseName_);
    IAttachment* att = fb::provider()->attachDatabase(&st, name.constData(), unsigned(dpb.size()), dpb.data());
    st.check();
    attachment_ = att;
}

void Connection::createDatabase()
{
    if (isOpen()) throw DbError(QStringLiteral("Veza s bazom je već otvorena."));
    auto dpb = buildDpb(true);
    fb::Status st;
    QByteArray name = toCp1250(databaseName_);
    IAttachment* att = fb::provider()->createDatabase(&st, name.constData(), unsigned(dpb.size()), dpb.data());
    st.check();
    attachment_ = att;
}

void Connection::close()
{
    if (!attachment_) return;
    std::optional<DbError> firstError;
    for (Transaction* t : std::vector<Transaction*>(transactions_)) {
        if (!t->isActive()) continue;
        try { t->endByDefault(); }
        catch (const DbError& e) { if (!firstError) firstError = e; t->closeUsers(); t->forget(); }
    }
    for (TransactionUser* u : std::vector<TransactionUser*>(users_)) u->connectionClosing();
    fb::Status st;
    attachment_->detach(&st);
    if (st.failed()) {
        attachment_->release();   // a lost connection: give the interface up anyway
        if (!firstError) firstError = st.error();
    }
    attachment_ = nullptr;
    if (firstError) throw *firstError;
}

IAttachment* Connection::attachment()
{
    if (!attachment_) throw DbError(QStringLiteral("Veza s bazom podataka nije otvorena."));
    return attachment_;
}

void Connection::remove(Transaction* t)
{
    transactions_.erase(std::remove(transactions_.begin(), transactions_.end(), t), transactions_.end());
}

void Connection::remove(TransactionUser* u)
{
    users_.erase(std::remove(users_.begin(), users_.end(), u), users_.end());
}

QStringList Connection::tableNames()
{
    Transaction t(this);
    Statement s(this, &t);
    s.setSql(QStringLiteral("select trim(rdb$relation_name) from rdb$relations "
                            "where coalesce(rdb$system_flag, 0) = 0 and rdb$view_blr is null"));
    QStringList names;
    for (s.execQuery(); !s.eof(); s.next()) names << s.column(0).toString();
    s.close();
    t.commit();
    std::sort(names.begin(), names.end());
    return names;
}

// ---------------------------------------------------------------- Transaction

Transaction::Transaction(Connection* connection, EndAction defaultAction)
    : defaultAction_(defaultAction)
{
    setConnection(connection);
}

Transaction::~Transaction()
{
    try { if (isActive()) endByDefault(); } catch (...) { forget(); }
    for (TransactionUser* u : std::vector<TransactionUser*>(users_)) u->transactionDestroyed();
    if (connection_) connection_->remove(this);
}

void Transaction::setConnection(Connection* c)
{
    if (connection_) connection_->remove(this);
    connection_ = c;
    if (connection_) connection_->add(this);
}

void Transaction::start()
{
    if (handle_) return;
    if (!connection_) throw DbError(QStringLiteral("Transakcija nema vezu s bazom."));
    static const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed,
                                        isc_tpb_rec_version, isc_tpb_nowait};
    fb::Status st;
    ITransaction* t = connection_->attachment()->startTransaction(&st, sizeof tpb, tpb);
    st.check();
    handle_ = t;
}

ITransaction* Transaction::handle()
{
    start();
    return handle_;
}

void Transaction::closeUsers()
{
    for (TransactionUser* u : std::vector<TransactionUser*>(users_)) u->transactionEnded();
}

void Transaction::forget()
{
    if (handle_) handle_->release();
    handle_ = nullptr;
}

void Transaction::commit()
{
    if (!handle_) return;
    closeUsers();
    fb::Status st;
    handle_->commit(&st);    // releases the interface on success
    st.check();
    handle_ = nullptr;
}

void Transaction::commitRetaining()
{
    if (!handle_) return;
    fb::Status st;
    handle_->commitRetaining(&st);
    st.check();
}

void Transaction::rollback()
{
    if (!handle_) return;
    closeUsers();
    fb::Status st;
    handle_->rollback(&st);
    if (st.failed()) { forget(); st.check(); }
    handle_ = nullptr;
}

void Transaction::endByDefault()
{
    if (defaultAction_ == EndAction::Commit) commit(); else rollback();
}

void Transaction::remove(TransactionUser* u)
{
    users_.erase(std::remove(users_.begin(), users_.end(), u), users_.end());
}

} // namespace db
