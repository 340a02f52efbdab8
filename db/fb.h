#pragma once
// Thin helpers over fbclient's interface: the master, the utility interface, a status that
// turns into DbError, and owners that release or dispose interfaces exactly once.
#include "db/error.h"
#include <firebird/Interface.h>
#include <utility>

namespace db::fb {

Firebird::IMaster* master();
Firebird::IUtil* util();
Firebird::IProvider* provider();

// A status vector; check() throws DbError with the server's text when the last call failed.
class Status {
public:
    Status();
    ~Status();
    Status(const Status&) = delete;
    Status& operator=(const Status&) = delete;
    Firebird::CheckStatusWrapper* operator&() { return &wrapper_; }
    Firebird::CheckStatusWrapper* get() { return &wrapper_; }
    bool failed() const;
    void check();             // throws DbError and clears
    void clear() { wrapper_.init(); }
    DbError error() const;
private:
    Firebird::IStatus* status_;
    Firebird::CheckStatusWrapper wrapper_;
};

DbError errorFrom(Firebird::IStatus* status);

// Owner of a reference-counted interface (IMessageMetadata, IMetadataBuilder): release() once.
template <class T>
class Ref {
public:
    Ref() = default;
    explicit Ref(T* p) : p_(p) {}
    ~Ref() { reset(); }
    Ref(const Ref&) = delete;
    Ref& operator=(const Ref&) = delete;
    Ref(Ref&& o) noexcept : p_(std::exchange(o.p_, nullptr)) {}
    Ref& operator=(Ref&& o) noexcept { if (this != &o) { reset(); p_ = std::exchange(o.p_, nullptr); } return *this; }
    void reset(T* p = nullptr) { if (p_) p_->release(); p_ = p; }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T* take() { return std::exchange(p_, nullptr); }
private:
    T* p_ = nullptr;
};

} // namespace db::fb
