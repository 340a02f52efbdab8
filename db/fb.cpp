#include "db/fb.h"
#include "db/cp1250.h"
#include <iberror.h>
#include <ibase.h>

using namespace Firebird;

namespace db::fb {

IMaster* master()
{
    static IMaster* m = fb_get_master_interface();
    return m;
}

IUtil* util()
{
    static IUtil* u = master()->getUtilInterface();
    return u;
}

IProvider* provider()
{
    static IProvider* p = master()->getDispatcher();
    return p;
}

Status::Status() : status_(master()->getStatus()), wrapper_(status_) {}
Status::~Status() { status_->dispose(); }

bool Status::failed() const
{
    return (const_cast<CheckStatusWrapper&>(wrapper_).getState() & IStatus::STATE_ERRORS) != 0;
}

void Status::check()
{
    if (failed()) {
        DbError e = error();
        clear();
        throw e;
    }
}

DbError Status::error() const { return errorFrom(const_cast<CheckStatusWrapper*>(&wrapper_)); }

DbError errorFrom(IStatus* status)
{
    char text[2048];
    util()->formatStatus(text, sizeof text, status);
    const intptr_t* vec = status->getErrors();
    std::vector<long> codes;
    for (const intptr_t* p = vec; *p != isc_arg_end;) {
        intptr_t kind = *p++;
        intptr_t val = *p++;
        if (kind == isc_arg_gds) codes.push_back(long(val));
        if (kind == isc_arg_cstring) ++p;   // length, then pointer
    }
    char state[FB_SQLSTATE_SIZE] = {};
    fb_sqlstate(state, reinterpret_cast<const ISC_STATUS*>(vec));
    long sqlCode = isc_sqlcode(reinterpret_cast<const ISC_STATUS*>(vec));
    // The server's texts are plain ASCII or come in the connection's code page.
    return DbError(fromCp1250(text, int(strlen(text))), sqlCode, QString::fromLatin1(state), std::move(codes));
}

} // namespace db::fb

namespace db {

bool DbError::hasCode(long code) const
{
    for (long c : codes_) if (c == code) return true;
    return false;
}

bool DbError::isLockConflict() const
{
    return hasCode(isc_lock_conflict) || hasCode(isc_update_conflict) || hasCode(isc_deadlock);
}

} // namespace db
