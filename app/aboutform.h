#pragma once
// "O programu": the program's picture, its version and "U redu".
#include <QDialog>

class QLabel;
class QPushButton;

class TAboutForm : public QDialog {
    Q_OBJECT
public:
    explicit TAboutForm(QWidget* parent = nullptr);
    QLabel* ProgramIcon;
    QLabel* ProductName;
    QLabel* Version;
    QPushButton* OKButton;
protected:
    void showEvent(QShowEvent* e) override;
};
