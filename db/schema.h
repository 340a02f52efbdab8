#pragma once
// Creating a database of the application from the schema script.
#include "db/connection.h"
#include <QStringList>

namespace db {

QString schemaScript();                               // the text of schema.sql
QStringList splitScript(const QString& script);       // statements, without comments and COMMIT
// Runs the script's statements on an open connection, committing at the end.
void runSchema(Connection& c);
// Creates the database `name` (a file path or host:path) and its tables; leaves `c` open on it.
void createDatabase(Connection& c, const QString& name, const QString& user = QStringLiteral("SYSDBA"),
                    const QString& password = QString());

} // namespace db
