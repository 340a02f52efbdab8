#include "framework/dialogs.h"

namespace fw {

static DialogService* g_service = nullptr;

void installDialogs(DialogService* service) { g_service = service; }

DialogService& dialogs()
{
    static ScriptedDialogs fallback;   // used only before the application installs its own
    return g_service ? *g_service : fallback;
}

static QString kindName(MessageKind k)
{
    switch (k) {
    case MessageKind::Information: return QStringLiteral("information");
    case MessageKind::Warning: return QStringLiteral("warning");
    case MessageKind::Error: return QStringLiteral("error");
    case MessageKind::Plain: return QStringLiteral("plain");
    }
    return QString();
}

void ScriptedDialogs::message(const QString& text, MessageKind kind, QWidget*) { shown.push_back({kindName(kind), text}); }

bool ScriptedDialogs::confirm(const QString& text, QWidget*)
{
    shown.push_back({QStringLiteral("confirm"), text});
    if (confirmAnswers.empty()) return true;
    bool a = confirmAnswers.front();
    confirmAnswers.pop_front();
    return a;
}

void ScriptedDialogs::error(const QString& text, QWidget*) { shown.push_back({QStringLiteral("error"), text}); }

QString ScriptedDialogs::openFile(const QString& title, const QString&, const QString&, QWidget*)
{
    shown.push_back({QStringLiteral("file"), title});
    if (fileAnswers.empty()) return QString();
    QString a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

QString ScriptedDialogs::openPicture(const QString& title, const QString&, const QString&, QWidget*)
{
    shown.push_back({QStringLiteral("picture"), title});
    if (fileAnswers.empty()) return QString();
    QString a = fileAnswers.front();
    fileAnswers.pop_front();
    return a;
}

std::optional<QColor> ScriptedDialogs::chooseColor(const QColor&, QWidget*)
{
    shown.push_back({QStringLiteral("color"), QString()});
    if (colorAnswers.empty()) return std::nullopt;
    auto a = colorAnswers.front();
    colorAnswers.pop_front();
    return a;
}

bool ScriptedDialogs::login(const QString& databaseName, QString& user, QString& password, QWidget*)
{
    shown.push_back({QStringLiteral("login"), databaseName});
    if (loginAnswers.empty()) return false;
    Login a = loginAnswers.front();
    loginAnswers.pop_front();
    if (a.ok) { user = a.user; password = a.password; }
    return a.ok;
}

QStringList ScriptedDialogs::texts() const
{
    QStringList out;
    for (const Shown& s : shown) out << s.text;
    return out;
}

QStringList ScriptedDialogs::texts(const QString& kind) const
{
    QStringList out;
    for (const Shown& s : shown) if (s.kind == kind) out << s.text;
    return out;
}

} // namespace fw
