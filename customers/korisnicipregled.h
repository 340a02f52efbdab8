#pragma once
// TFKorisniciPregled "Korisnici": the customer list (every row of KORISNICI in a grid frame,
// sorted by a clicked title, searched with the find dialog), from which customers are added
// and opened in the customer editor. The main window shows one instance non-modally; the
// contract editor uses a fresh instance as its customer chooser, through pickCustomer().
#include "db/dataset.h"
#include "db/decimal.h"
#include <QDialog>
#include <QPointer>
#include <optional>

class QFrame;
class QPushButton;

namespace fw { class TFrGrid; }

namespace customers {

class TFKorisnikUnos;

// The customer a chooser hands over.
struct PickedCustomer {
    int IDKORISNIKA = 0;
    QString NAZIV_KORISNIKA;
    QString MBR;
    db::Decimal RABAT;        // an empty discount reads as 0
};

class TFKorisniciPregled : public QDialog {
    Q_OBJECT
public:
    explicit TFKorisniciPregled(QWidget* parent = nullptr);
    ~TFKorisniciPregled() override;

    QFrame* Panel1 = nullptr;
    QPushButton* BitBtn2 = nullptr;    // "Pronađi"
    QPushButton* BitBtn3 = nullptr;    // "Novi korisnik"
    fw::TFrGrid* TFrGrid1 = nullptr;
    QFrame* Panel2 = nullptr;
    QPushButton* BitBtn1 = nullptr;    // "Povratak"
    QPushButton* BOK = nullptr;        // "Preuzimanje", only in the chooser

    db::Dataset IBQueryKorisnici;      // "select *" / "from KORISNICI", on Read

    // The editor that "Novi korisnik" and a double-click open: the one given here, else the
    // program's editor, else one of this window's own.
    void setEditor(TFKorisnikUnos* editor) { editor_ = editor; }
    TFKorisnikUnos* editor();

    // Makes "Preuzimanje" visible and enabled (the chooser).
    void setPicker(bool on);
    // The current row of the list; nothing when the list is empty or closed.
    std::optional<PickedCustomer> currentCustomer();

public slots:
    void FormShow();
    void BitBtn2Click();              // "Novi korisnik"
    void TFrGrid1GridDblClick();
    void TFrGrid1PronadjiClick();
    void BitBtn1Click();              // "Povratak"

protected:
    void showEvent(QShowEvent* e) override;

private:
    void defineFields();
    void openEditor(const QVariant& id);
    QPointer<TFKorisnikUnos> editor_;
    QPointer<TFKorisnikUnos> ownEditor_;
};

// The customer chooser of the contract editor: a fresh overview owned by `owner`, shown
// modally with "Preuzimanje"; the current row when the user took it over with "Preuzimanje"
// from a list that is not empty, otherwise nothing ("Povratak", the close box, Esc).
std::optional<PickedCustomer> pickCustomer(QWidget* owner);

} // namespace customers
