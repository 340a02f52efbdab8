#include "db/datamodule.h"

namespace db {

ConnectionTarget connectionTarget(const ConnectionFields& f)
{
    ConnectionTarget t;
    t.databaseName = f.local ? f.path : f.server + QLatin1Char(':') + f.path;
    t.params << QStringLiteral("lc_ctype=NONE");
    t.loginPrompt = f.loginPrompt;
    if (!f.loginPrompt) {
        t.params << QStringLiteral("user_name=") + f.user;
        t.params << QStringLiteral("password=") + f.password;
    }
    return t;
}

void applyTarget(Connection& c, const ConnectionTarget& t)
{
    c.setDatabaseName(t.databaseName);
    c.params().clear();
    c.setParams(t.params);
    c.setLoginPrompt(t.loginPrompt);
}

static TDataModule1* g_instance = nullptr;

TDataModule1::TDataModule1(QObject* parent) : QObject(parent)
{
    setObjectName(QStringLiteral("DataModule1"));
    g_instance = this;
}

TDataModule1::~TDataModule1()
{
    try { DB.close(); } catch (...) {}
    if (g_instance == this) g_instance = nullptr;
}

TDataModule1* TDataModule1::instance() { return g_instance; }

} // namespace db
