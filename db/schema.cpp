#include "db/schema.h"
#include "db/statement.h"
#include <QFile>

namespace db {

extern const char* const kSchemaSql;

QString schemaScript() { return QString::fromUtf8(kSchemaSql); }

QStringList splitScript(const QString& script)
{
    QString text;
    // drop /* */ comments
    for (int i = 0; i < script.size();) {
        if (script.mid(i, 2) == QLatin1String("/*")) {
            int end = script.indexOf(QLatin1String("*/"), i + 2);
            i = end < 0 ? int(script.size()) : end + 2;
        } else {
            text += script[i++];
        }
    }
    QStringList out;
    for (QString s : text.split(QLatin1Char(';'))) {
        s = s.trimmed();
        if (s.isEmpty() || s.compare(QLatin1String("COMMIT"), Qt::CaseInsensitive) == 0) continue;
        out << s;
    }
    return out;
}

void runSchema(Connection& c)
{
    Transaction t(&c);
    for (const QString& sql : splitScript(schemaScript())) {
        Statement s(&c, &t);
        s.setSql(sql);
        s.execQuery();
        // DDL must be committed before later statements refer to the new objects
        t.commit();
    }
}

void createDatabase(Connection& c, const QString& name, const QString& user, const QString& password)
{
    c.setDatabaseName(name);
    c.setLoginPrompt(false);
    c.params().clear();
    c.params() << QStringLiteral("lc_ctype=NONE") << QStringLiteral("user_name=") + user;
    if (!password.isEmpty()) c.params() << QStringLiteral("password=") + password;
    c.createDatabase();
    runSchema(c);
}

} // namespace db
