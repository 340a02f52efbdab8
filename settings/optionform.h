#pragma once
// The settings dialog "Postavke sustava": its controls are the settings of the running
// program; it loads them from the machine-wide store and writes them whenever it closes.
#include "db/datamodule.h"
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace settings {

class TOptionForm : public QDialog {
    Q_OBJECT
public:
    explicit TOptionForm(QWidget* parent = nullptr);
    ~TOptionForm() override;

    // page "Podaci o tvrtki"
    QLineEdit* TvNaziv;
    QLineEdit* TvAdresa;
    QLineEdit* Sjediste;
    QLineEdit* TVKontakt;
    QLineEdit* TvZiro;
    QLineEdit* TvMBR;
    QLineEdit* Logo;
    QPushButton* BitBtn1;
    QLineEdit* MainNaslov;
    QCheckBox* StartCheck;
    // page "Ispis na pisač"
    QComboBox* EVPrinter;
    QCheckBox* ShowBeforeEvIspis;
    // page "Pristup bazi"
    QLineEdit* Server;
    QCheckBox* Lokal;
    QLineEdit* Edit1;
    QPushButton* Button27;
    QLabel* LKorisnik;
    QLineEdit* Edit2;
    QCheckBox* CheckBox1;
    QLabel* LLozinka;
    QLineEdit* MaskEdit1;
    QLabel* DBPromjenaStatus;
    QListWidget* ListBox1;
    QPushButton* Button2;
    QPushButton* Button3;
    // bottom strip
    QPushButton* Button7;
    QPushButton* Button1;
    QTabWidget* PageControl1;

    void LoadSettings();
    void SaveSettings();
    void LoadPrintSetup();
    void SavePrintSetup();

    // The connection fields as the shared connection rules take them.
    db::ConnectionFields connectionFields() const;
    bool changed() const;      // the change mark reads "*"

    // The installed printers' names, in the platform's order (tests put their own list).
    using PrinterSource = std::function<QStringList()>;
    static void setPrinterSource(PrinterSource source);

    static TOptionForm* instance();

public slots:
    void LokalClick();
    void CheckBox1Click();
    void Button27Click();
    void BitBtn1Click();
    void Button2Click();
    void Button3Click();
    void Button1Click();
    void ConnectionFieldChange();

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void done(int result) override;

private:
    void fillPrinters();
    void storeFailed();
    bool savePending_ = false;   // one warning for the writes of one close
    bool storeFailed_ = false;
};

// The dialog of the running program (created fourth at start).
inline TOptionForm* OptionForm() { return TOptionForm::instance(); }

} // namespace settings
