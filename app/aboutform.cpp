#include "app/aboutform.h"
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("O programu"));
    setModal(true);
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(12);
    setFont(f);

    ProgramIcon = new QLabel;
    ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
    ProgramIcon->setPixmap(QPixmap(QStringLiteral(":/kavor/icons/logo.png")).scaled(96, 96, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    ProgramIcon->setFixedSize(100, 100);
    ProgramIcon->setAlignment(Qt::AlignCenter);
    ProductName = new QLabel(QStringLiteral("Evidencija ugovora o najmu vozila"));
    ProductName->setObjectName(QStringLiteral("ProductName"));
    QFont bold = f;
    bold.setBold(true);
    bold.setPixelSize(14);
    ProductName->setFont(bold);
    Version = new QLabel(QStringLiteral("Inačica 1.0"));
    Version->setObjectName(QStringLiteral("Version"));
    OKButton = new QPushButton(QStringLiteral("U redu"));
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* texts = new QVBoxLayout;
    texts->addStretch(1);
    texts->addWidget(ProductName);
    texts->addWidget(Version);
    texts->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(ProgramIcon);
    top->addSpacing(8);
    top->addLayout(texts, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addStretch(1);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addSpacing(6);
    lay->addLayout(buttons);
    setFixedSize(sizeHint().expandedTo(QSize(320, 160)));
}

void TAboutForm::showEvent(QShowEvent* e)
{
    // centred on the screen, not on its caller
    if (!e->spontaneous()) {
        if (QScreen* s = QGuiApplication::primaryScreen()) {
            QRect r = frameGeometry();
            r.moveCenter(s->availableGeometry().center());
            move(r.topLeft());
        }
    }
    QDialog::showEvent(e);
}
