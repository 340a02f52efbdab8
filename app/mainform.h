#pragma once
// The main window "Evidencija ugovora o najmu vozila": banner, menu, the five buttons of
// the daily work and the five counters of the register.
#include <QDate>
#include <QWidget>
#include <functional>
#include <map>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;
class QStatusBar;
class TAboutForm;

class TMainForm : public QWidget {
    Q_OBJECT
public:
    explicit TMainForm(QWidget* parent = nullptr);
    ~TMainForm() override;

    QLabel* Panel1;
    QMenuBar* ActionMainMenuBar1;
    QWidget* MenuPanel;
    QPushButton* BitBtn1;   // "Novi ugovor"
    QPushButton* BitBtn2;   // "Dnevni pregled"
    QPushButton* BitBtn3;   // "Evidencija korisnika"
    QPushButton* BitBtn4;   // "Evidencija vozila"
    QPushButton* BitBtn5;   // "Izlazak iz programa"
    QGroupBox* GroupBox1;
    QLineEdit* StatKupci;
    QLineEdit* StatNarudzbe;
    QLineEdit* StatNeplaceno;
    QLineEdit* StatUkVozila;
    QLineEdit* StatVaniVozila;
    QStatusBar* StatusBar1;

    // ActionManager1
    QAction* Action1;    // Korisnici / Novi korisnik
    QAction* Action2;    // Korisnici / Pregled i pretraživanje
    QAction* Action4;    // Korisnici / Postavke...
    QAction* Action3;    // Korisnici / Izlazak iz programa
    QAction* Action5;    // Ugovori / Novi ugovor
    QAction* Action7;    // Ugovori / Dnevno poslovanje
    QAction* Action15;   // Ugovori / Mjesečno poslovanje
    QAction* Action9;    // Vozila / Novo vozilo
    QAction* Action10;   // Vozila / Pregled vozila
    QAction* Action13;   // Vozila / Cjenik
    QAction* Action6;    // Vozila / Boje
    QAction* Action11;   // O programu

    TAboutForm* AboutForm = nullptr;

    // The windows of the other parts of the program attach their opening here when they are
    // created at start (see app/startup.cpp). Until then the action (and its button) stays
    // disabled.
    enum class Opens {
        NewCustomer,    // Action1Execute: customer editor, modal
        Customers,      // BitBtn3Click: customer overview, non-modal
        NewContract,    // Action5Execute: contract editor, modal
        NewVehicle,     // Action9Execute: vehicle editor, modal
        Vehicles,       // Action10Execute: vehicle overview, non-modal
        PriceList,      // Action13Execute: price-list overview, non-modal
        Colours,        // Action6Execute: colour list, modal
    };
    void attach(Opens what, std::function<void()> open);
    // The contract overview with its two date fields (BitBtn2Click, Action15Execute).
    void attachContracts(std::function<void(const QDate& from, const QDate& to)> open);
    // The start-up check, run at the end of the show sequence when its setting is ticked.
    void attachStartCheck(std::function<void()> check) { startCheck_ = std::move(check); }

    // The date ranges of "Dnevno poslovanje" and "Mjesečno poslovanje".
    static std::pair<QDate, QDate> dailyRange(const QDate& today) { return {today, today}; }
    static std::pair<QDate, QDate> monthlyRange(const QDate& today) { return {today.addMonths(-1), today}; }

    // design geometry
    static constexpr int kDesignLeft = 63, kDesignTop = 166, kDesignClientWidth = 387, kDesignClientHeight = 288;

public slots:
    void Action1Execute();
    void BitBtn3Click();
    void Action4Execute();
    void BitBtn5Click();
    void Action5Execute();
    void BitBtn2Click();
    void Action15Execute();
    void Action9Execute();
    void Action10Execute();
    void Action13Execute();
    void Action6Execute();
    void Action11Execute();

public:
    void RestoreWindowPosition();
    void SaveWindowPosition();
    void RefreshStatus();
    void ConnectDatabase();
    void FormShow();
    void FormActivate() { RefreshStatus(); }

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void run(Opens what);
    void updateActions();
    std::map<Opens, std::function<void()>> opens_;
    std::function<void(const QDate&, const QDate&)> contracts_;
    std::function<void()> startCheck_;
    void applyPendingOuterSize();
    QSize pendingOuterSize_;      // stored outer size waiting for the frame to be known
    bool statusFailed_ = false;   // the last counter read failed and was shown
};
