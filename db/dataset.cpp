#include "db/dataset.h"
#include <QLocale>
#include <cstring>

namespace db {

// ------------------------------------------------------------------ Field

Field::Align Field::alignment() const
{
    if (alignSet_) return align_;
    return (isIntegerType(type_) || isDecimalType(type_)) ? Align::Right : Align::Left;
}

Field& Field::setLookup(Dataset* dataset, const QString& keyField, const QString& lookupKeyField,
                        const QString& resultField)
{
    lookupDataset_ = dataset;
    keyField_ = keyField;
    lookupKeyField_ = lookupKeyField;
    lookupResultField_ = resultField;
    return *this;
}

Value Field::value() const
{
    int row = dataset_->activeRow();
    if (row < 0 || row >= dataset_->recordCount()) return Value();
    return dataset_->valueAt(row, *this);
}

void Field::setValue(const Value& v) { dataset_->assign(*this, v); }

QString Field::displayText() const { return formatValue(value()); }

QString Field::formatValue(const Value& v) const
{
    if (v.isNull()) return QString();
    QLocale loc;
    switch (type_) {
    case FieldType::Integer: case FieldType::SmallInt: case FieldType::BigInt:
        return displayFormat_.isEmpty() ? QString::number(v.toInt()) : formatInteger(v.toInt(), displayFormat_, loc);
    case FieldType::Numeric: case FieldType::Float:
        if (!displayFormat_.isEmpty()) return v.toDecimal().format(displayFormat_, loc);
        return v.toDecimal().format(scale_ < 0 ? QStringLiteral("0.") + QString(-scale_, QLatin1Char('0'))
                                               : QStringLiteral("0.####"), loc);
    case FieldType::Date:
        return loc.toString(v.toDate(), QLocale::ShortFormat);
    case FieldType::DateTime:
        return loc.toString(v.toDateTime(), QLocale::ShortFormat);
    case FieldType::Time:
        return loc.toString(v.toDateTime().time(), QLocale::ShortFormat);
    default:
        return v.toString();
    }
}

// ------------------------------------------------------------------ Dataset

Dataset::Dataset(Connection* connection, Transaction* transaction, QObject* parent)
    : QObject(parent), select_(connection, transaction)
{
    (void)connection;
    if (this->connection()) this->connection()->add(static_cast<TransactionUser*>(this));
    if (transaction) transaction->add(static_cast<TransactionUser*>(this));
}

Dataset::~Dataset()
{
    if (transaction()) transaction()->remove(static_cast<TransactionUser*>(this));
    if (connection()) connection()->remove(static_cast<TransactionUser*>(this));
}

void Dataset::setTransaction(Transaction* t)
{
    close();
    if (transaction()) transaction()->remove(static_cast<TransactionUser*>(this));
    Connection* oldConnection = connection();
    select_.setTransaction(t);
    if (t) t->add(static_cast<TransactionUser*>(this));
    if (connection() != oldConnection) {
        if (oldConnection) oldConnection->remove(static_cast<TransactionUser*>(this));
        if (connection()) connection()->add(static_cast<TransactionUser*>(this));
    }
}

Field* Dataset::createDef(const QString& name)
{
    auto f = std::make_unique<Field>();
    f->dataset_ = this;
    f->name_ = name;
    defs_.push_back(std::move(f));
    return defs_.back().get();
}

Field& Dataset::define(const QString& name)
{
    for (auto& d : defs_) if (d->name_.compare(name, Qt::CaseInsensitive) == 0) return *d;
    if (isActive()) throw DbError(QStringLiteral("Polje %1 nije nađeno.").arg(name));
    return *createDef(name.toUpper());
}

Field& Dataset::addCalculated(const QString& name, FieldType type)
{
    if (isActive()) throw DbError(QStringLiteral("Izračunato polje se dodaje prije otvaranja."));
    Field* f = createDef(name);
    f->kind_ = Field::Kind::Calculated;
    f->type_ = type;
    if (type == FieldType::Numeric) f->scale_ = -4;
    return *f;
}

Field& Dataset::addLookup(const QString& name, FieldType type, Dataset* lookup, const QString& keyField,
                          const QString& lookupKeyField, const QString& resultField)
{
    Field& f = addCalculated(name, type);
    f.kind_ = Field::Kind::Lookup;
    f.setLookup(lookup, keyField, lookupKeyField, resultField);
    return f;
}

Field* Dataset::findField(const QString& name)
{
    for (Field* f : fields_) if (f->name_.compare(name, Qt::CaseInsensitive) == 0) return f;
    return nullptr;
}

Field& Dataset::field(const QString& name)
{
    if (Field* f = findField(name)) return *f;
    throw DbError(QStringLiteral("Polje %1 nije nađeno.").arg(name));
}

QStringList Dataset::fieldNames() const
{
    QStringList names;
    for (Field* f : fields_) names << f->name_;
    return names;
}

void Dataset::rebuildFields()
{
    fields_.clear();
    for (size_t i = 0; i < columns_.size(); ++i) {
        const ColumnInfo& c = columns_[i];
        Field* f = nullptr;
        for (auto& d : defs_)
            if (d->kind_ == Field::Kind::Data && d->name_.compare(c.name, Qt::CaseInsensitive) == 0) f = d.get();
        if (!f) f = createDef(c.name);
        f->type_ = c.type;
        f->size_ = c.size;
        f->scale_ = c.scale;
        f->required_ = !c.nullable;
        if (!f->originSet_)
            f->origin_ = c.relation.isEmpty() ? QString()
                                              : QStringLiteral("\"%1\".\"%2\"").arg(c.relation, c.field);
        f->column_ = int(i);
        fields_.push_back(f);
    }
    calcCount_ = 0;
    for (auto& d : defs_)
        if (d->kind_ != Field::Kind::Data) { d->column_ = -1; fields_.push_back(d.get()); ++calcCount_; }
    for (size_t i = 0; i < fields_.size(); ++i) fields_[i]->index_ = int(i);
}

void Dataset::open()
{
    if (isActive()) return;
    if (!transaction()) throw DbError(QStringLiteral("Skup podataka nema transakciju."));
    select_.execQuery();
    columns_ = select_.columns();
    rebuildFields();
    rows_.clear();
    deleted_.clear();
    BlobReader reader = select_.blobReader();
    bool hasRow = !select_.eof();
    QByteArray scratch;
    while (hasRow) {
        packRow(scratch, columns_, select_.rowBuffer(), reader);
        rows_.emplace_back();
        rows_.back().packed = store(scratch);
        rows_.back().packedSize = uint32_t(scratch.size());
        hasRow = select_.fetchRaw();
    }
    rows_.shrink_to_fit();
    select_.close();
    state_ = State::Browse;
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    if (calcCount_ > 0)
        for (int i = 0; i < recordCount(); ++i) computeCalc(i);
    resetViews();
    if (afterOpen) afterOpen(*this);
    scrolled();
}

const char* Dataset::store(const QByteArray& bytes)
{
    const size_t n = size_t(bytes.size());
    if (arena_.empty() || arenaUsed_ + n > arenaSize_) {
        arenaSize_ = std::max<size_t>(size_t(1) << 20, n);
        arena_.push_back(std::make_unique<char[]>(arenaSize_));
        arenaUsed_ = 0;
    }
    char* p = arena_.back().get() + arenaUsed_;
    std::memcpy(p, bytes.constData(), n);
    arenaUsed_ += n;
    return p;
}

void Dataset::close()
{
    if (!isActive()) return;
    select_.close();
    rows_.clear();
    deleted_.clear();
    arena_.clear();
    arenaUsed_ = arenaSize_ = 0;
    state_ = State::Inactive;
    cur_ = -1;
    eof_ = bof_ = true;
    insertedAt_ = -1;
    resetViews();
    if (afterClose) afterClose(*this);
}

Dataset::Row& Dataset::currentRow()
{
    if (cur_ < 0 || cur_ >= recordCount()) throw DbError(QStringLiteral("Skup podataka je prazan."));
    return rows_[size_t(cur_)];
}

Value Dataset::dataValue(const Row& r, int column) const
{
    if (r.values) return (*r.values)[size_t(column)];
    if (!r.packed) return Value();
    return unpackColumn(r.packed, columns_, column);
}

std::vector<Value> Dataset::materialize(const Row& r) const
{
    std::vector<Value> v(columns_.size());
    for (size_t i = 0; i < columns_.size(); ++i) v[i] = dataValue(r, int(i));
    return v;
}

std::vector<Value> Dataset::originalValues(const Row& r) const
{
    if (r.original) return *r.original;
    std::vector<Value> v(columns_.size());
    if (r.packed)
        for (size_t i = 0; i < columns_.size(); ++i) v[i] = unpackColumn(r.packed, columns_, int(i));
    return v;
}

Value Dataset::lookupValue(const Field& f, int row) const
{
    if (!f.lookupDataset_ || !f.lookupDataset_->isActive()) return Value();
    Dataset* self = const_cast<Dataset*>(this);
    Field* key = self->findField(f.keyField_);
    if (!key) return Value();
    Value k = valueAt(row, *key);
    if (k.isNull()) return Value();
    Dataset* l = f.lookupDataset_;
    Field* lk = l->findField(f.lookupKeyField_);
    Field* lr = l->findField(f.lookupResultField_);
    if (!lk || !lr) return Value();
    for (int i = 0; i < l->recordCount(); ++i)
        if (l->valueAt(i, *lk).toString() == k.toString()) return l->valueAt(i, *lr);
    return Value();
}

Value Dataset::valueAt(int row, const Field& f) const
{
    if (row < 0 || row >= recordCount()) return Value();
    const Row& r = rows_[size_t(row)];
    switch (f.kind_) {
    case Field::Kind::Data: return f.column_ >= 0 ? dataValue(r, f.column_) : Value();
    case Field::Kind::Calculated: {
        int ci = f.index_ - int(columns_.size());
        return (r.calc && ci >= 0 && ci < int(r.calc->size())) ? (*r.calc)[size_t(ci)] : Value();
    }
    case Field::Kind::Lookup: return lookupValue(f, row);
    }
    return Value();
}

void Dataset::computeCalc(int row)
{
    Row& r = rows_[size_t(row)];
    if (!r.calc) r.calc = std::make_unique<std::vector<Value>>(size_t(calcCount_));
    if (!onCalcFields) return;
    State saved = state_;
    int savedRow = calcRow_;
    state_ = State::CalcFields;
    calcRow_ = row;
    try { onCalcFields(*this); } catch (...) { state_ = saved; calcRow_ = savedRow; throw; }
    state_ = saved;
    calcRow_ = savedRow;
}

void Dataset::assign(Field& f, const Value& v)
{
    if (f.dataset_ != this || f.index_ < 0) throw DbError(QStringLiteral("Polje %1 nije otvoreno.").arg(f.name_));
    if (f.kind_ == Field::Kind::Lookup) throw DbError(QStringLiteral("Polje %1 se ne može mijenjati.").arg(f.title()));
    bool calcState = state_ == State::CalcFields;
    if (!calcState && state_ != State::Edit && state_ != State::Insert)
        throw DbError(QStringLiteral("Skup podataka nije u načinu uređivanja."));
    if (calcState && f.kind_ != Field::Kind::Calculated)
        throw DbError(QStringLiteral("Polje %1 se ne može mijenjati pri izračunu.").arg(f.name_));
    int row = activeRow();
    Row& r = rows_[size_t(row)];
    Value stored = v;
    // an empty text is no value (the required-field check treats it as missing)
    if (stored.kind() == Value::Kind::Text && stored.toString().isEmpty()) stored = Value();
    if (f.kind_ == Field::Kind::Calculated) {
        if (!r.calc) r.calc = std::make_unique<std::vector<Value>>(size_t(calcCount_));
        (*r.calc)[size_t(f.index_ - int(columns_.size()))] = stored;
        if (calcState) return;
    } else {
        if (!r.values) r.values = std::make_unique<std::vector<Value>>(materialize(r));
        (*r.values)[size_t(f.column_)] = stored;
        if (calcCount_ > 0 && onCalcFields) computeCalc(row);
    }
    changedRow(row);
    if (f.onChange_) f.onChange_(f);
}

void Dataset::changedRow(int row)
{
    if (!disabled_) emit rowChanged(row);
}

void Dataset::resetViews()
{
    if (!disabled_) { emit reset(); emit currentChanged(cur_); }
}

void Dataset::enableControls()
{
    if (disabled_ > 0 && --disabled_ == 0) resetViews();
}

void Dataset::scrolled()
{
    if (!disabled_) emit currentChanged(cur_);
    if (afterScroll) afterScroll(*this);
}

void Dataset::checkBrowseMode()
{
    if (!isActive()) throw DbError(QStringLiteral("Skup podataka nije otvoren."));
    if (state_ == State::Edit || state_ == State::Insert) post();
}

void Dataset::first()
{
    checkBrowseMode();
    cur_ = rows_.empty() ? -1 : 0;
    bof_ = true;
    eof_ = rows_.empty();
    scrolled();
}

void Dataset::last()
{
    checkBrowseMode();
    cur_ = int(rows_.size()) - 1;
    eof_ = true;
    bof_ = rows_.empty();
    scrolled();
}

void Dataset::next()
{
    checkBrowseMode();
    if (cur_ + 1 < recordCount()) { ++cur_; bof_ = false; eof_ = false; scrolled(); }
    else eof_ = true;
}

void Dataset::prior()
{
    checkBrowseMode();
    if (cur_ > 0) { --cur_; eof_ = false; bof_ = false; scrolled(); }
    else bof_ = true;
}

void Dataset::setRecNo(int row)
{
    checkBrowseMode();
    if (rows_.empty()) return;
    cur_ = std::clamp(row, 0, recordCount() - 1);
    bof_ = cur_ == 0;
    eof_ = false;
    scrolled();
}

void Dataset::append()
{
    checkBrowseMode();
    rows_.emplace_back();
    Row& r = rows_.back();
    r.values = std::make_unique<std::vector<Value>>(columns_.size());
    r.status = RowStatus::Inserted;
    if (calcCount_ > 0) r.calc = std::make_unique<std::vector<Value>>(size_t(calcCount_));
    insertedAt_ = cur_;
    cur_ = recordCount() - 1;
    state_ = State::Insert;
    eof_ = bof_ = false;
    resetViews();
    if (onNewRecord) onNewRecord(*this);
}

void Dataset::edit()
{
    if (!isActive()) throw DbError(QStringLiteral("Skup podataka nije otvoren."));
    if (state_ == State::Edit || state_ == State::Insert) return;
    Row& r = currentRow();
    backupHadValues_ = bool(r.values);
    backupValues_ = materialize(r);
    backupCalc_ = r.calc ? *r.calc : std::vector<Value>();
    state_ = State::Edit;
}

void Dataset::cancel()
{
    if (state_ == State::Insert) {
        rows_.erase(rows_.begin() + cur_);
        cur_ = rows_.empty() ? -1 : std::clamp(insertedAt_, 0, recordCount() - 1);
        state_ = State::Browse;
        eof_ = rows_.empty();
        resetViews();
        scrolled();
    } else if (state_ == State::Edit) {
        Row& r = currentRow();
        if (backupHadValues_) r.values = std::make_unique<std::vector<Value>>(backupValues_);
        else r.values.reset();
        if (r.calc) *r.calc = backupCalc_;
        state_ = State::Browse;
        changedRow(cur_);
    }
}

void Dataset::post()
{
    if (state_ != State::Edit && state_ != State::Insert) return;
    Row& r = currentRow();
    for (Field* f : fields_) {
        if (f->kind_ != Field::Kind::Data || !f->required_) continue;
        if (valueAt(cur_, *f).isNull())
            throw DbError(QStringLiteral("Polje '%1' mora imati vrijednost.").arg(f->title()));
    }
    bool inserting = state_ == State::Insert;
    if (!inserting && r.status == RowStatus::Unmodified) r.status = RowStatus::Modified;
    if (!cachedUpdates_) {
        const QStringList& sql = inserting ? insertSql_ : modifySql_;
        if (!sql.isEmpty()) writeRow(cur_, sql);
        r.status = RowStatus::Unmodified;   // nothing is held without cached updates
    }
    state_ = State::Browse;
    changedRow(cur_);
    if (afterPost) afterPost(*this);
}

void Dataset::remove()
{
    if (!isActive()) throw DbError(QStringLiteral("Skup podataka nije otvoren."));
    if (state_ == State::Insert) { cancel(); return; }
    if (state_ == State::Edit) cancel();
    Row& r = currentRow();
    Deleted d{originalValues(r), r.status};
    if (!cachedUpdates_) {
        if (!deleteSql_.isEmpty() && d.status != RowStatus::Inserted) writeDeleted(d);
    } else if (d.status != RowStatus::Inserted) {
        deleted_.push_back(std::move(d));
    }
    rows_.erase(rows_.begin() + cur_);
    if (cur_ >= recordCount()) cur_ = recordCount() - 1;
    eof_ = rows_.empty();
    resetViews();
    scrolled();
}

bool Dataset::updatesPending() const
{
    if (!deleted_.empty()) return true;
    for (const Row& r : rows_) if (r.status != RowStatus::Unmodified) return true;
    return false;
}

void Dataset::bindRowParams(Statement& s, const std::vector<Value>& current, const std::vector<Value>& original)
{
    Params& p = s.params();
    for (int i = 0; i < p.count(); ++i) {
        QString name = p.name(i);
        bool old = name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive);
        QString column = old ? name.mid(4) : name;
        int c = -1;
        for (size_t k = 0; k < columns_.size(); ++k)
            if (columns_[k].name.compare(column, Qt::CaseInsensitive) == 0) c = int(k);
        if (c < 0) throw DbError(QStringLiteral("Parametar %1 nema polje.").arg(name));
        p.set(i, old ? original[size_t(c)] : current[size_t(c)]);
    }
}

void Dataset::writeRow(int row, const QStringList& sql)
{
    Row& r = rows_[size_t(row)];
    Statement s(connection(), transaction());
    s.sql() = sql;
    std::vector<Value> current = materialize(r);
    bindRowParams(s, current, originalValues(r));
    s.execQuery();
    s.close();
    r.original = std::make_unique<std::vector<Value>>(std::move(current));
    r.status = RowStatus::Unmodified;
}

void Dataset::writeDeleted(const Deleted& d)
{
    Statement s(connection(), transaction());
    s.sql() = deleteSql_;
    bindRowParams(s, d.original, d.original);
    s.execQuery();
    s.close();
}

void Dataset::applyUpdates()
{
    checkBrowseMode();
    while (!deleted_.empty()) {
        writeDeleted(deleted_.front());
        deleted_.erase(deleted_.begin());
    }
    for (int i = 0; i < recordCount(); ++i) {
        Row& r = rows_[size_t(i)];
        if (r.status == RowStatus::Inserted) writeRow(i, insertSql_);
        else if (r.status == RowStatus::Modified) writeRow(i, modifySql_);
    }
}

void Dataset::cancelUpdates()
{
    if (state_ == State::Edit || state_ == State::Insert) cancel();
    deleted_.clear();
    for (int i = recordCount() - 1; i >= 0; --i) {
        Row& r = rows_[size_t(i)];
        if (r.status == RowStatus::Inserted) { rows_.erase(rows_.begin() + i); continue; }
        if (r.status == RowStatus::Modified) {
            if (r.original) r.values = std::make_unique<std::vector<Value>>(*r.original);
            else r.values.reset();
            r.status = RowStatus::Unmodified;
        }
    }
    if (cur_ >= recordCount()) cur_ = recordCount() - 1;
    eof_ = rows_.empty();
    resetViews();
}

void Dataset::refreshRecord()
{
    if (refreshSql_.isEmpty()) return;
    checkBrowseMode();
    Row& r = currentRow();
    Statement s(connection(), transaction());
    s.sql() = refreshSql_;
    std::vector<Value> current = materialize(r);
    bindRowParams(s, current, originalValues(r));
    s.execQuery();
    if (!s.eof()) {
        for (size_t c = 0; c < columns_.size(); ++c) {
            int k = s.columnIndex(columns_[c].name);
            if (k >= 0) current[c] = s.column(k);
        }
        r.values = std::make_unique<std::vector<Value>>(current);
        r.original = std::make_unique<std::vector<Value>>(std::move(current));
    }
    s.close();
    if (calcCount_ > 0) computeCalc(cur_);
    changedRow(cur_);
}

} // namespace db
