#pragma once
// The dialog service shown on screen: Qt message boxes, file and colour choosers and the
// database login dialog of our own.
#include "framework/dialogs.h"

namespace fw {

class QtDialogs : public DialogService {
public:
    void message(const QString& text, MessageKind kind = MessageKind::Information, QWidget* parent = nullptr) override;
    bool confirm(const QString& text, QWidget* parent = nullptr) override;
    void error(const QString& text, QWidget* parent = nullptr) override;
    QString openFile(const QString& title, const QString& filter, const QString& start, QWidget* parent = nullptr) override;
    QString openFileAt(const QString& title, const QString& filter, int filterIndex, const QString& start, QWidget* parent = nullptr) override;
    QString openPicture(const QString& title, const QString& filter, const QString& start, QWidget* parent = nullptr) override;
    std::optional<QColor> chooseColor(const QColor& initial, QWidget* parent = nullptr) override;
    bool login(const QString& databaseName, QString& user, QString& password, QWidget* parent = nullptr) override;
};

// "Description|*.a;*.b|Other|*.c" (pairs of a description and its patterns) as a Qt name
// filter list "Description (*.a *.b);;Other (*.c)".
QString qtNameFilters(const QString& pairedFilter);

} // namespace fw
