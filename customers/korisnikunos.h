#pragma once
// TFKorisnikUnos "Korisnik": the customer editor. A record editor (fw::TFRepUnos) over the
// table KORISNICI with three pages, "Korisnik", "Osobni dokumenti" and "Tvrtka zaposlenja";
// the base's generic SELECT / INSERT / UPDATE / DELETE are used unchanged.
//
// Callers set the base's properties on the one dialog object before each modal showing:
//
//   e->TableName = "KORISNICI"; e->KeyFields = "IDKORISNIKA";
//   e->KeyValue = {-1}; e->Tag = -1;          // a new customer
//   e->KeyValue = {id}; e->Tag = id;          // an existing one
//   if (e->exec() == QDialog::Accepted) {
//       e->IBSQL1.param("IDKORISNIKA") ...    // the values just written (also RABAT)
//   }
//
// Texts are stored exactly as typed; the lines of the multi-line boxes are separated by
// CR LF in the database and shown on their lines again when read back (a lone CR or LF in a
// stored text starts a new line as well). The check box "Zastupa tvrtku" is stored as "DA" or
// "NE" and reads as ticked only for "DA". The discount is a two-decimal input whose value
// goes to the statement as a db::Decimal.
#include "framework/repunos.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace customers {

class TDecimalEdit;

class TFKorisnikUnos : public fw::TFRepUnos {
    Q_OBJECT
public:
    explicit TFKorisnikUnos(QWidget* parent = nullptr);
    ~TFKorisnikUnos() override;

    // The editor of the running program (the one created at start), nullptr before.
    static TFKorisnikUnos* instance();

    // Page "Korisnik"
    QLineEdit* NAZIV_KORISNIKA = nullptr;
    QPlainTextEdit* ADRESA = nullptr;
    QPlainTextEdit* ADRESA_PREBIVAL = nullptr;
    QPlainTextEdit* TEL_FAX_MOB = nullptr;
    QLineEdit* E_MAIL = nullptr;
    QLineEdit* MBR = nullptr;
    TDecimalEdit* RABAT = nullptr;
    // Page "Osobni dokumenti"
    QWidget* TabSheet2 = nullptr;
    QGroupBox* GroupBoxOsobna = nullptr;
    QGroupBox* GroupBoxPutovnica = nullptr;
    QGroupBox* GroupBoxVozacka = nullptr;
    QLineEdit* BR_0SOBNE = nullptr;
    QLineEdit* OSOBNA_IZDANA_U = nullptr;
    QLineEdit* BR_PUTOVNICE = nullptr;
    QLineEdit* PUTOVNICA_IZDANA_U = nullptr;
    QLineEdit* BR_VOZACKE = nullptr;
    QLineEdit* VOZACKA_IZDANA_U = nullptr;
    // Page "Tvrtka zaposlenja"
    QWidget* TabSheet3 = nullptr;
    QLineEdit* TVRTKA_ZAPOSLENJA = nullptr;
    QPlainTextEdit* ADRESA_TVRKE = nullptr;
    QPlainTextEdit* TEL_FAX_MOB_TVRTKE = nullptr;
    QLineEdit* E_MAIL_TVRTKE = nullptr;
    QLineEdit* WEB = nullptr;
    QCheckBox* ZASTUPA_TVRTKU_DANE = nullptr;

    // The seventeen text columns, each with its control (a one-line edit or a multi-line box).
    static const QStringList& textColumns();
    QWidget* control(const QString& column) const;
    QString controlText(const QString& column) const;            // as it goes to the database
    void setControlText(const QString& column, const QString& stored);

    // Stored form of a multi-line box's text (lines joined with CR LF), and back.
    static QString toStoredLines(const QString& shown);
    static QString fromStoredLines(const QString& stored);

    void PrepareNewRecord() override;
    void PuniFormu() override;
    bool ValidateInput() override;
    bool PuniSlog() override;

public slots:
    void FormShow() override;

private:
    void buildPages();
    void clearControls();
};

} // namespace customers
