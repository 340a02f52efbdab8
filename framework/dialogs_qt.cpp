#include "framework/dialogs_qt.h"
#include <QApplication>
#include <QColorDialog>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace fw {

static QWidget* ownerOf(QWidget* parent)
{
    if (parent) return parent;
    if (QWidget* w = QApplication::activeModalWidget()) return w;
    return QApplication::activeWindow();
}

static QString boxTitle(MessageKind kind)
{
    switch (kind) {
    case MessageKind::Information: return QStringLiteral("Obavijest");
    case MessageKind::Warning: return QStringLiteral("Upozorenje");
    case MessageKind::Error: return QStringLiteral("Greška");
    case MessageKind::Plain: break;
    }
    return QApplication::applicationDisplayName();
}

void QtDialogs::message(const QString& text, MessageKind kind, QWidget* parent)
{
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (kind) {
    case MessageKind::Information: icon = QMessageBox::Information; break;
    case MessageKind::Warning: icon = QMessageBox::Warning; break;
    case MessageKind::Error: icon = QMessageBox::Critical; break;
    case MessageKind::Plain: break;
    }
    QMessageBox box(icon, boxTitle(kind), text, QMessageBox::Ok, ownerOf(parent));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtDialogs::confirm(const QString& text, QWidget* parent)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Potvrda"), text, QMessageBox::Yes | QMessageBox::No, ownerOf(parent));
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::error(const QString& text, QWidget* parent)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Greška"), text, QMessageBox::Ok, ownerOf(parent));
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

QString qtNameFilters(const QString& pairedFilter)
{
    const QStringList parts = pairedFilter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        QStringList patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString& p : patterns) p = p.trimmed();
        const QString list = patterns.join(QLatin1Char(' '));
        // A description that already names exactly its patterns shows them once.
        const int open = desc.lastIndexOf(QLatin1Char('('));
        if (open >= 0 && desc.endsWith(QLatin1Char(')'))) {
            QStringList named = desc.mid(open + 1, desc.size() - open - 2).split(QLatin1Char(';'), Qt::SkipEmptyParts);
            for (QString& p : named) p = p.trimmed();
            if (named == patterns) {
                out << desc.left(open) + QLatin1Char('(') + list + QLatin1Char(')');
                continue;
            }
        }
        out << desc + QStringLiteral(" (") + list + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

QString QtDialogs::openFile(const QString& title, const QString& filter, const QString& start, QWidget* parent)
{
    return openFileAt(title, filter, 0, start, parent);
}

QString QtDialogs::openFileAt(const QString& title, const QString& filter, int filterIndex, const QString& start, QWidget* parent)
{
    QFileDialog dlg(ownerOf(parent), title, start);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setAcceptMode(QFileDialog::AcceptOpen);
    const QStringList filters = qtNameFilters(filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts);
    dlg.setNameFilters(filters);
    if (filterIndex >= 0 && filterIndex < filters.size()) dlg.selectNameFilter(filters[filterIndex]);
    if (!start.isEmpty()) dlg.selectFile(start);
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().first();
}

QString QtDialogs::openPicture(const QString& title, const QString& filter, const QString& start, QWidget* parent)
{
    // Qt's own (non-native) file dialog with a preview pane beside the file list.
    QFileDialog dlg(ownerOf(parent), title, start);
    dlg.setOption(QFileDialog::DontUseNativeDialog, true);
    dlg.setFileMode(QFileDialog::ExistingFile);
    dlg.setNameFilters(qtNameFilters(filter).split(QStringLiteral(";;"), Qt::SkipEmptyParts));
    if (!start.isEmpty()) dlg.selectFile(start);
    auto* preview = new QLabel(&dlg);
    preview->setObjectName(QStringLiteral("Preview"));
    preview->setFixedSize(160, 160);
    preview->setAlignment(Qt::AlignCenter);
    preview->setFrameShape(QFrame::StyledPanel);
    if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout()))
        grid->addWidget(preview, 0, grid->columnCount(), grid->rowCount(), 1);
    QObject::connect(&dlg, &QFileDialog::currentChanged, preview, [preview](const QString& path) {
        QPixmap pm(path);
        if (pm.isNull()) preview->clear();
        else preview->setPixmap(pm.scaled(preview->size() - QSize(8, 8), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    });
    if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return QString();
    return dlg.selectedFiles().first();
}

std::optional<QColor> QtDialogs::chooseColor(const QColor& initial, QWidget* parent)
{
    QColor c = QColorDialog::getColor(initial, ownerOf(parent));
    if (!c.isValid()) return std::nullopt;
    return c;
}

bool QtDialogs::login(const QString& databaseName, QString& user, QString& password, QWidget* parent)
{
    QDialog dlg(ownerOf(parent));
    dlg.setObjectName(QStringLiteral("LoginDialog"));
    dlg.setWindowTitle(QStringLiteral("Prijava na bazu podataka"));
    auto* form = new QFormLayout;
    auto* dbName = new QLabel(databaseName);
    dbName->setObjectName(QStringLiteral("DatabaseName"));
    dbName->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* userEdit = new QLineEdit(user);
    userEdit->setObjectName(QStringLiteral("UserName"));
    auto* passEdit = new QLineEdit;
    passEdit->setObjectName(QStringLiteral("Password"));
    passEdit->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("Baza:"), dbName);
    form->addRow(QStringLiteral("Korisničko ime:"), userEdit);
    form->addRow(QStringLiteral("Lozinka:"), passEdit);
    auto* buttons = new QDialogButtonBox;
    buttons->addButton(QStringLiteral("U redu"), QDialogButtonBox::AcceptRole)->setDefault(true);
    buttons->addButton(QStringLiteral("Odustani"), QDialogButtonBox::RejectRole);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dlg, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dlg, &QDialog::reject);
    auto* lay = new QVBoxLayout(&dlg);
    lay->addLayout(form);
    lay->addWidget(buttons);
    dlg.setMinimumWidth(320);
    if (user.isEmpty()) userEdit->setFocus(); else passEdit->setFocus();
    if (dlg.exec() != QDialog::Accepted) return false;
    user = userEdit->text();
    password = passEdit->text();
    return true;
}

} // namespace fw
