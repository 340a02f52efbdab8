#pragma once
// The dialog service: every message box, confirmation, file, picture, colour and login
// dialog of the application goes through it, so that windows can be driven in tests.
#include <QColor>
#include <QString>
#include <QStringList>
#include <deque>
#include <optional>
#include <vector>

class QWidget;

namespace fw {

enum class MessageKind { Information, Warning, Error, Plain };

class DialogService {
public:
    virtual ~DialogService() = default;
    // A box with one OK button.
    virtual void message(const QString& text, MessageKind kind = MessageKind::Information, QWidget* parent = nullptr) = 0;
    // A confirmation with Yes and No; true for Yes.
    virtual bool confirm(const QString& text, QWidget* parent = nullptr) = 0;
    // The standard error box (database errors and everything that escapes a handler).
    virtual void error(const QString& text, QWidget* parent = nullptr) = 0;
    // File and picture choosers; an empty text when cancelled.
    virtual QString openFile(const QString& title, const QString& filter, const QString& start, QWidget* parent = nullptr) = 0;
    // The same, with the filter entry to preselect (0 = the first).
    virtual QString openFileAt(const QString& title, const QString& filter, int filterIndex, const QString& start, QWidget* parent = nullptr)
    {
        (void)filterIndex;
        return openFile(title, filter, start, parent);
    }
    virtual QString openPicture(const QString& title, const QString& filter, const QString& start, QWidget* parent = nullptr) = 0;
    virtual std::optional<QColor> chooseColor(const QColor& initial, QWidget* parent = nullptr) = 0;
    // The database login: shows the database name, asks for user and password; false = cancelled.
    virtual bool login(const QString& databaseName, QString& user, QString& password, QWidget* parent = nullptr) = 0;

    void warning(const QString& text, QWidget* parent = nullptr) { message(text, MessageKind::Warning, parent); }
    void information(const QString& text, QWidget* parent = nullptr) { message(text, MessageKind::Information, parent); }
};

// The service in use; the application installs the real one, tests a scripted one.
DialogService& dialogs();
void installDialogs(DialogService* service);   // not owned

// Records every dialog and answers as told (tests).
class ScriptedDialogs : public DialogService {
public:
    struct Shown {
        QString kind;   // "information", "warning", "error", "plain", "confirm", "file", "picture", "color", "login"
        QString text;   // the message, or the title / database name
    };
    std::vector<Shown> shown;
    std::deque<bool> confirmAnswers;        // default: Yes
    std::deque<QString> fileAnswers;        // default: cancelled
    std::deque<std::optional<QColor>> colorAnswers;
    struct Login { bool ok; QString user, password; };
    std::deque<Login> loginAnswers;         // default: cancelled

    void message(const QString& text, MessageKind kind, QWidget*) override;
    bool confirm(const QString& text, QWidget*) override;
    void error(const QString& text, QWidget*) override;
    QString openFile(const QString& title, const QString&, const QString&, QWidget*) override;
    QString openPicture(const QString& title, const QString&, const QString&, QWidget*) override;
    std::optional<QColor> chooseColor(const QColor&, QWidget*) override;
    bool login(const QString& databaseName, QString& user, QString& password, QWidget*) override;

    QStringList texts() const;                 // every recorded text, in order
    QStringList texts(const QString& kind) const;
    void clear() { shown.clear(); }
};

} // namespace fw
