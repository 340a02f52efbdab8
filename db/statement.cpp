#include "db/statement.h"
#include "db/cp1250.h"
#include "db/fb.h"
#include <cstring>

using namespace Firebird;

namespace db {

// ------------------------------------------------------------------ parameters

static bool isNameChar(QChar c) { return c.isLetterOrNumber() || c == QLatin1Char('_') || c == QLatin1Char('$'); }

ParsedSql parseParameters(const QString& text)
{
    ParsedSql out;
    out.sql.reserve(text.size());
    const int n = int(text.size());
    for (int i = 0; i < n;) {
        QChar c = text[i];
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {          // string or quoted name
            int j = i + 1;
            while (j < n) {
                if (text[j] == c) {
                    if (j + 1 < n && text[j + 1] == c) { j += 2; continue; }
                    break;
                }
                ++j;
            }
            out.sql += text.mid(i, j - i + 1);
            i = j + 1;
        } else if (c == QLatin1Char('-') && i + 1 < n && text[i + 1] == QLatin1Char('-')) {
            int j = i;
            while (j < n && text[j] != QLatin1Char('\n')) ++j;
            out.sql += text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char('/') && i + 1 < n && text[i + 1] == QLatin1Char('*')) {
            int j = text.indexOf(QLatin1String("*/"), i + 2);
            j = j < 0 ? n : j + 2;
            out.sql += text.mid(i, j - i);
            i = j;
        } else if (c == QLatin1Char(':') && i + 1 < n && isNameChar(text[i + 1])) {
            int j = i + 1;
            while (j < n && isNameChar(text[j])) ++j;
            QString name = text.mid(i + 1, j - i - 1);
            int idx = -1;
            for (int k = 0; k < out.names.size(); ++k)
                if (out.names[k].compare(name, Qt::CaseInsensitive) == 0) { idx = k; break; }
            if (idx < 0) { idx = int(out.names.size()); out.names << name; }
            out.positions.push_back(idx);
            out.sql += QLatin1Char('?');
            i = j;
        } else {
            out.sql += c;
            ++i;
        }
    }
    return out;
}

int Params::indexOf(const QString& name) const
{
    for (int i = 0; i < names_.size(); ++i)
        if (names_[i].compare(name, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

const Value& Params::value(const QString& name) const
{
    int i = indexOf(name);
    if (i < 0) throw DbError(QStringLiteral("Parametar %1 nije nađen.").arg(name));
    return values_[size_t(i)];
}

void Params::set(int i, const Value& v)
{
    if (i < 0 || i >= count()) throw DbError(QStringLiteral("Parametar broj %1 ne postoji.").arg(i));
    values_[size_t(i)] = v;
}

void Params::set(const QString& name, const Value& v)
{
    int i = indexOf(name);
    if (i < 0) throw DbError(QStringLiteral("Parametar %1 nije nađen.").arg(name));
    values_[size_t(i)] = v;
}

void Params::clearValues()
{
    for (Value& v : values_) v = Value();
}

void Params::reset(const QStringList& names)
{
    std::vector<Value> values(size_t(names.size()));
    for (int i = 0; i < names.size(); ++i) {
        int old = indexOf(names[i]);
        if (old >= 0) values[size_t(i)] = values_[size_t(old)];
    }
    names_ = names;
    values_ = std::move(values);
}

// ------------------------------------------------------------------ statement

Statement::Statement(Connection* connection, Transaction* transaction)
{
    setConnection(connection);
    setTransaction(transaction);
}

Statement::~Statement()
{
    try { close(); } catch (...) {}
    freeStatement();
    if (transaction_) transaction_->remove(this);
    if (connection_) connection_->remove(this);
}

void Statement::setConnection(Connection* c)
{
    if (c == connection_) return;
    close();
    freeStatement();
    if (connection_) connection_->remove(this);
    connection_ = c;
    if (connection_) connection_->add(this);
}

void Statement::setTransaction(Transaction* t)
{
    if (t == transaction_) return;
    close();
    if (transaction_) transaction_->remove(this);
    transaction_ = t;
    if (transaction_) {
        transaction_->add(this);
        if (!connection_) setConnection(transaction_->connection());
    }
}

void Statement::setSql(const QString& text)
{
    lines_ = text.split(QLatin1Char('\n'));
    if (!lines_.isEmpty() && lines_.last().isEmpty() && text.endsWith(QLatin1Char('\n'))) lines_.removeLast();
}

QString Statement::text() const
{
    QString t;
    for (const QString& l : lines_) { t += l; t += QLatin1Char('\n'); }
    return t;
}

void Statement::ensureParsed()
{
    QString t = text();
    if (t == parsedText_ && !parsedText_.isNull()) return;
    if (paramCheck_) {
        parsed_ = parseParameters(t);
    } else {
        parsed_ = ParsedSql();
        parsed_.sql = t;
    }
    params_.reset(parsed_.names);
    parsedText_ = t;
}

Params& Statement::params()
{
    ensureParsed();
    return params_;
}

void Statement::freeStatement()
{
    if (outMeta_) { outMeta_->release(); outMeta_ = nullptr; }
    if (stmt_) {
        fb::Status st;
        stmt_->free(&st);
        if (st.failed()) stmt_->release();
        stmt_ = nullptr;
    }
    preparedText_.clear();
    columns_.clear();
}

void Statement::connectionClosing()
{
    if (cursor_) { cursor_->release(); cursor_ = nullptr; }
    eof_ = true;
    hasRow_ = false;
    freeStatement();
}

void Statement::prepare()
{
    ensureParsed();
    if (stmt_ && preparedText_ == parsedText_) return;
    close();
    freeStatement();
    if (!connection_) throw DbError(QStringLiteral("Naredba nema vezu s bazom."));
    if (!transaction_) throw DbError(QStringLiteral("Naredba nema transakciju."));
    IAttachment* att = connection_->attachment();
    ITransaction* tra = transaction_->handle();
    QByteArray sql = toCp1250(parsed_.sql);
    fb::Status st;
    IStatement* s = att->prepare(&st, tra, unsigned(sql.size()), sql.constData(), 3,
                                 IStatement::PREPARE_PREFETCH_METADATA);
    st.check();
    stmt_ = s;
    outMeta_ = stmt_->getOutputMetadata(&st);
    st.check();
    columns_ = describe(outMeta_);
    outBuffer_.assign(outMeta_->getMessageLength(&st), 0);
    st.check();
    preparedText_ = parsedText_;
}

bool Statement::isSelect()
{
    prepare();
    fb::Status st;
    unsigned flags = stmt_->getFlags(&st);
    st.check();
    return (flags & IStatement::FLAG_HAS_CURSOR) != 0;
}

static void putScaled(unsigned char* p, unsigned sqlType, int64_t v)
{
    if (sqlType == SQL_SHORT) { int16_t x = int16_t(v); std::memcpy(p, &x, 2); }
    else if (sqlType == SQL_LONG) { int32_t x = int32_t(v); std::memcpy(p, &x, 4); }
    else std::memcpy(p, &v, 8);
}

// Builds the input message from the parameter values: each value travels in a type of
// its own (text as VARYING of its real length, so that the server itself refuses a text
// longer than its column), except blobs and scaled numerics, which take the parameter's type.
void Statement::bindInput(std::vector<unsigned char>& buffer, IMessageMetadata*& meta)
{
    fb::Status st;
    fb::Ref<IMessageMetadata> in(stmt_->getInputMetadata(&st));
    st.check();
    unsigned count = in->getCount(&st);
    if (count == 0) { meta = in.take(); buffer.clear(); return; }
    std::vector<ColumnInfo> declared = describe(in.get());
    fb::Ref<IMetadataBuilder> b(in->getBuilder(&st));
    st.check();
    std::vector<QByteArray> texts(count);
    for (unsigned i = 0; i < count; ++i) {
        const ColumnInfo& d = declared[i];
        int nameIndex = i < parsed_.positions.size() ? parsed_.positions[i] : -1;
        const Value v = nameIndex >= 0 ? params_.value(nameIndex) : Value();
        if (v.isNull() || d.sqlType == SQL_BLOB) continue;
        bool scaled = (d.sqlType == SQL_SHORT || d.sqlType == SQL_LONG || d.sqlType == SQL_INT64) && d.scale < 0;
        if (scaled && (v.kind() == Value::Kind::Decimal || v.kind() == Value::Kind::Integer)) {
            b->setType(&st, i, SQL_INT64); b->setLength(&st, i, 8); b->setScale(&st, i, d.scale);
            continue;
        }
        switch (v.kind()) {
        case Value::Kind::Integer:
            b->setType(&st, i, SQL_INT64); b->setLength(&st, i, 8); b->setScale(&st, i, 0); break;
        case Value::Kind::Decimal:
            b->setType(&st, i, SQL_INT64); b->setLength(&st, i, 8); b->setScale(&st, i, -Decimal::Scale); break;
        case Value::Kind::Date:
            b->setType(&st, i, SQL_TYPE_DATE); b->setLength(&st, i, 4); b->setScale(&st, i, 0); break;
        case Value::Kind::DateTime:
            b->setType(&st, i, SQL_TIMESTAMP); b->setLength(&st, i, 8); b->setScale(&st, i, 0); break;
        case Value::Kind::Text:
            texts[i] = toCp1250(v.toString());
            b->setType(&st, i, SQL_VARYING);
            b->setLength(&st, i, unsigned(std::max<qsizetype>(1, texts[i].size())));
            b->setCharSet(&st, i, 0);
            b->setScale(&st, i, 0);
            break;
        default: break;
        }
    }
    st.check();
    meta = b->getMetadata(&st);
    st.check();
    fb::Ref<IMessageMetadata> owner(meta);
    std::vector<ColumnInfo> cols = describe(meta);
    buffer.assign(meta->getMessageLength(&st), 0);
    for (unsigned i = 0; i < count; ++i) {
        const ColumnInfo& c = cols[i];
        int nameIndex = i < parsed_.positions.size() ? parsed_.positions[i] : -1;
        const Value v = nameIndex >= 0 ? params_.value(nameIndex) : Value();
        unsigned char* p = buffer.data() + c.offset;
        int16_t isNull = v.isNull() ? -1 : 0;
        std::memcpy(buffer.data() + c.nullOffset, &isNull, 2);
        if (v.isNull()) continue;
        switch (c.sqlType) {
        case SQL_BLOB: {
            QByteArray bytes = toCp1250(v.toString());
            ISC_QUAD id{};
            IBlob* blob = connection_->attachment()->createBlob(&st, transaction_->handle(), &id, 0, nullptr);
            st.check();
            for (qsizetype off = 0; off < bytes.size(); off += 32768) {
                unsigned len = unsigned(std::min<qsizetype>(32768, bytes.size() - off));
                blob->putSegment(&st, len, bytes.constData() + off);
                if (st.failed()) { fb::Status s2; blob->cancel(&s2); st.check(); }
            }
            blob->close(&st);
            st.check();
            std::memcpy(p, &id, sizeof id);
            break;
        }
        case SQL_SHORT: case SQL_LONG: case SQL_INT64:
            if (c.scale < 0) putScaled(p, c.sqlType, v.toDecimal().toScaled(c.scale));
            else putScaled(p, c.sqlType, v.toInt());
            break;
        case SQL_TYPE_DATE: { int32_t d = encodeDate(v.toDate()); std::memcpy(p, &d, 4); break; }
        case SQL_TIMESTAMP: {
            QDateTime dt = v.toDateTime();
            int32_t d = encodeDate(dt.date()); uint32_t t = encodeTime(dt.time());
            std::memcpy(p, &d, 4); std::memcpy(p + 4, &t, 4);
            break;
        }
        case SQL_VARYING: {
            const QByteArray& t = texts[i];
            uint16_t len = uint16_t(std::min<qsizetype>(t.size(), c.length));
            std::memcpy(p, &len, 2); std::memcpy(p + 2, t.constData(), len);
            break;
        }
        default: {
            // a type the value could not be given in: send it as text and let the server convert
            throw DbError(QStringLiteral("Nepodržana vrsta parametra %1.").arg(params_.name(nameIndex)));
        }
        }
    }
    owner.take();
}

void Statement::execQuery()
{
    prepare();
    close();
    std::vector<unsigned char> inBuffer;
    IMessageMetadata* inMeta = nullptr;
    bindInput(inBuffer, inMeta);
    fb::Ref<IMessageMetadata> inOwner(inMeta);
    fb::Status st;
    ITransaction* tra = transaction_->handle();
    rowsAffected_ = 0;
    unsigned flags = stmt_->getFlags(&st);
    st.check();
    if (flags & IStatement::FLAG_HAS_CURSOR) {
        cursor_ = stmt_->openCursor(&st, tra, inMeta, inBuffer.empty() ? nullptr : inBuffer.data(), outMeta_, 0);
        st.check();
        eof_ = false;
        next();
    } else {
        bool hasOutput = !columns_.empty();
        stmt_->execute(&st, tra, inMeta, inBuffer.empty() ? nullptr : inBuffer.data(),
                       hasOutput ? outMeta_ : nullptr, hasOutput ? outBuffer_.data() : nullptr);
        st.check();
        rowsAffected_ = int64_t(stmt_->getAffectedRecords(&st));
        st.clear();
        hasRow_ = hasOutput;
        eof_ = !hasOutput;
    }
}

bool Statement::fetchRaw()
{
    if (!cursor_ || eof_) return false;
    fb::Status st;
    int r = cursor_->fetchNext(&st, outBuffer_.data());
    st.check();
    if (r != IStatus::RESULT_OK) { eof_ = true; hasRow_ = false; return false; }
    hasRow_ = true;
    return true;
}

bool Statement::next()
{
    return fetchRaw();
}

void Statement::close()
{
    if (cursor_) {
        fb::Status st;
        cursor_->close(&st);
        if (st.failed()) cursor_->release();
        cursor_ = nullptr;
    }
    eof_ = true;
    hasRow_ = false;
}

QString Statement::plan()
{
    prepare();
    fb::Status st;
    const char* p = stmt_->getPlan(&st, false);
    st.check();
    return QString::fromLatin1(p ? p : "").trimmed();
}

QStringList Statement::columnNames() const
{
    QStringList names;
    for (const ColumnInfo& c : columns_) names << c.name;
    return names;
}

int Statement::columnIndex(const QString& name) const
{
    for (size_t i = 0; i < columns_.size(); ++i)
        if (columns_[i].name.compare(name, Qt::CaseInsensitive) == 0) return int(i);
    return -1;
}

BlobReader Statement::blobReader()
{
    return [this](const unsigned char* idBytes) {
        ISC_QUAD id;
        std::memcpy(&id, idBytes, sizeof id);
        fb::Status st;
        IBlob* blob = connection_->attachment()->openBlob(&st, transaction_->handle(), &id, 0, nullptr);
        st.check();
        QByteArray out;
        char buf[16384];
        for (;;) {
            unsigned len = 0;
            int r = blob->getSegment(&st, sizeof buf, buf, &len);
            if (r == IStatus::RESULT_OK || r == IStatus::RESULT_SEGMENT) { out.append(buf, int(len)); continue; }
            break;
        }
        if (st.failed()) { DbError e = st.error(); blob->release(); throw e; }
        blob->close(&st);
        st.check();
        return out;
    };
}

Value Statement::column(int i)
{
    if (i < 0 || i >= columnCount()) throw DbError(QStringLiteral("Stupac broj %1 ne postoji.").arg(i));
    if (!hasRow_) return Value();
    return decodeColumn(columns_[size_t(i)], outBuffer_.data(), blobReader());
}

Value Statement::field(const QString& name)
{
    int i = columnIndex(name);
    if (i < 0) throw DbError(QStringLiteral("Polje %1 nije nađeno.").arg(name));
    return column(i);
}

Value queryValue(Connection* c, Transaction* t, const QString& sql, const std::vector<std::pair<QString, Value>>& params)
{
    Statement s(c, t);
    s.setSql(sql);
    for (const auto& [name, v] : params) s.setParam(name, v);
    s.execQuery();
    Value v = s.column(0);
    s.close();
    t->commit();
    return v;
}

} // namespace db
