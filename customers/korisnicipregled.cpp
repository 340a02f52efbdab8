#include "customers/korisnicipregled.h"
#include "customers/korisnikunos.h"
#include "db/datamodule.h"
#include "db/error.h"
#include "framework/dialogs.h"
#include "framework/locate.h"   // before frgrid.h, whose inline members need the whole class
#include "framework/frgrid.h"
#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>
#include <memory>

namespace customers {

namespace {

struct ColumnSpec {
    const char* name;
    const char* title;
    int displayWidth;   // characters, 0: none given
    int gridWidth;      // pixels, 0: from the display width
};

// The list's fields in order: grid columns, the find dialog's titles and the sort expressions.
const ColumnSpec kColumns[] = {
    {"IDKORISNIKA", "##", 9, 39},
    {"NAZIV_KORISNIKA", "Naziv korisnika", 52, 0},
    {"MBR", "MBR", 0, 105},
    {"ZASTUPA_TVRTKU_DANE", "Tvrtka", 7, 0},
    {"ADRESA", "Adresa stanovanja", 55, 0},
    {"ADRESA_PREBIVAL", "Adresa prebivališta", 65, 0},
    {"BR_0SOBNE", "Broj osobne", 39, 0},
    {"OSOBNA_IZDANA_U", "Izdana u", 24, 0},
    {"BR_PUTOVNICE", "Broj putovnice", 39, 0},
    {"PUTOVNICA_IZDANA_U", "Izdana u", 26, 0},
    {"BR_VOZACKE", "Broj vozačke", 39, 0},
    {"VOZACKA_IZDANA_U", "Izdana u", 24, 0},
    {"E_MAIL", "e-mail", 60, 0},
    {"TEL_FAX_MOB", "Telefon/fax/mobitel", 120, 0},
    {"TVRTKA_ZAPOSLENJA", "Tvtka zaposlenja", 60, 0},
    {"ADRESA_TVRKE", "Adresa tvrtke", 120, 0},
    {"TEL_FAX_MOB_TVRTKE", "Telefoni/fax tvrtke", 120, 0},
    {"E_MAIL_TVRTKE", "E-mail tvrke", 60, 0},
    {"WEB", "WEB stranica", 60, 0},
    {"RABAT", "Rabat", 23, 0},
};

QPushButton* button(const QString& text, const char* name, int w, QWidget* parent, bool bold = true)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setFixedSize(w, 32);
    b->setAutoDefault(false);
    if (bold) {
        QFont f = b->font();
        f.setBold(true);
        b->setFont(f);
    }
    return b;
}

} // namespace

TFKorisniciPregled::TFKorisniciPregled(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FKorisniciPregled"));
    setWindowTitle(QStringLiteral("Korisnici"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
                   Qt::WindowCloseButtonHint);
    setFont(QFont(QStringLiteral("Tahoma"), 8));
    resize(682, 384);

    if (db::TDataModule1* dm = db::DataModule1()) {
        IBQueryKorisnici.setTransaction(&dm->Read);
    }
    IBQueryKorisnici.setObjectName(QStringLiteral("IBQueryKorisnici"));
    IBQueryKorisnici.sql() = QStringList{QStringLiteral("select *"), QStringLiteral("from KORISNICI")};
    defineFields();

    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(0);

    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    Panel1->setFixedHeight(41);
    auto* tl = new QHBoxLayout(Panel1);
    tl->setContentsMargins(4, 6, 8, 3);
    tl->setSpacing(1);
    tl->addStretch(1);
    BitBtn2 = button(QStringLiteral("Pronađi"), "BitBtn2", 73, Panel1);
    BitBtn2->setToolTip(QStringLiteral("Pretraživanje evidencije"));
    BitBtn3 = button(QStringLiteral("Novi korisnik"), "BitBtn3", 102, Panel1);
    BitBtn3->setToolTip(QStringLiteral("Unos novog korisnika"));
    tl->addWidget(BitBtn2);
    tl->addWidget(BitBtn3);
    outer->addWidget(Panel1);

    TFrGrid1 = new fw::TFrGrid(this);
    TFrGrid1->setObjectName(QStringLiteral("TFrGrid1"));
    TFrGrid1->setDataSet(&IBQueryKorisnici);
    std::vector<fw::GridColumnDef> cols;
    for (const ColumnSpec& c : kColumns)
        cols.emplace_back(QLatin1String(c.name), QString::fromUtf8(c.title), c.gridWidth);
    TFrGrid1->setColumns(cols);
    outer->addWidget(TFrGrid1, 1);

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    Panel2->setFixedHeight(45);
    auto* bl = new QHBoxLayout(Panel2);
    bl->setContentsMargins(4, 6, 8, 7);
    bl->setSpacing(4);
    bl->addStretch(1);
    BOK = button(QStringLiteral("Preuzimanje"), "BOK", 115, Panel2);
    BitBtn1 = button(QStringLiteral("Povratak"), "BitBtn1", 91, Panel2);
    bl->addWidget(BOK);
    bl->addWidget(BitBtn1);
    outer->addWidget(Panel2);
    setPicker(false);

    connect(BitBtn2, &QPushButton::clicked, this, [this] { TFrGrid1PronadjiClick(); });
    connect(BitBtn3, &QPushButton::clicked, this, [this] { BitBtn2Click(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BOK, &QPushButton::clicked, this, [this] { done(QDialog::Accepted); });
    connect(TFrGrid1->Grid, &fw::TThemeDBGrid::DblClick, this, [this] { TFrGrid1GridDblClick(); });
}

TFKorisniciPregled::~TFKorisniciPregled()
{
    // the find dialog and an own editor are children of this window; the list closes first
    IBQueryKorisnici.close();
}

void TFKorisniciPregled::defineFields()
{
    for (const ColumnSpec& c : kColumns) {
        db::Field& f = IBQueryKorisnici.define(QLatin1String(c.name));
        f.setTitle(QString::fromUtf8(c.title));
        if (c.displayWidth > 0) f.setDisplayWidth(c.displayWidth);
        f.setOrigin(QStringLiteral("\"KORISNICI\".\"%1\"").arg(QLatin1String(c.name)));
    }
}

void TFKorisniciPregled::setPicker(bool on)
{
    BOK->setVisible(on);
    BOK->setEnabled(on);
    BOK->setDefault(on);
}

TFKorisnikUnos* TFKorisniciPregled::editor()
{
    if (editor_) return editor_;
    if (TFKorisnikUnos* e = TFKorisnikUnos::instance()) return e;
    if (!ownEditor_) ownEditor_ = new TFKorisnikUnos(this);
    return ownEditor_;
}

void TFKorisniciPregled::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (e->spontaneous()) return;
    try {
        FormShow();
    } catch (const db::DbError& err) {
        fw::dialogs().error(err.message(), this);
    }
}

void TFKorisniciPregled::FormShow()
{
    if (!IBQueryKorisnici.transaction())
        if (db::TDataModule1* dm = db::DataModule1()) IBQueryKorisnici.setTransaction(&dm->Read);
    IBQueryKorisnici.close();
    IBQueryKorisnici.open();
}

void TFKorisniciPregled::openEditor(const QVariant& id)
{
    TFKorisnikUnos* e = editor();
    e->TableName = QStringLiteral("KORISNICI");
    e->KeyFields = QStringLiteral("IDKORISNIKA");
    if (id.isValid()) {
        const int key = id.toInt();
        e->KeyValue = {key};
        e->Tag = key;
    } else {
        e->KeyValue = {-1};
        e->Tag = -1;
    }
    e->exec();
    TFrGrid1->RefreshList();
}

void TFKorisniciPregled::BitBtn2Click() { openEditor(QVariant()); }

void TFKorisniciPregled::TFrGrid1GridDblClick()
{
    if (!IBQueryKorisnici.isActive() || IBQueryKorisnici.isEmpty()) return;
    openEditor(int(IBQueryKorisnici.value(QStringLiteral("IDKORISNIKA")).toInt()));
}

void TFKorisniciPregled::TFrGrid1PronadjiClick() { TFrGrid1->PronadjiClick(); }

void TFKorisniciPregled::BitBtn1Click() { reject(); }   // hides; ends a modal showing with cancel

std::optional<PickedCustomer> TFKorisniciPregled::currentCustomer()
{
    if (!IBQueryKorisnici.isActive() || IBQueryKorisnici.isEmpty() || IBQueryKorisnici.recNo() < 0) return std::nullopt;
    PickedCustomer c;
    c.IDKORISNIKA = IBQueryKorisnici.value(QStringLiteral("IDKORISNIKA")).toInt32();
    c.NAZIV_KORISNIKA = IBQueryKorisnici.value(QStringLiteral("NAZIV_KORISNIKA")).toString();
    c.MBR = IBQueryKorisnici.value(QStringLiteral("MBR")).toString();
    c.RABAT = IBQueryKorisnici.value(QStringLiteral("RABAT")).toDecimal();
    return c;
}

std::optional<PickedCustomer> pickCustomer(QWidget* owner)
{
    // A fresh instance for one showing: unsorted, with its own find dialog.
    std::unique_ptr<TFKorisniciPregled> picker = std::make_unique<TFKorisniciPregled>(owner);
    picker->setPicker(true);
    picker->setWindowModality(Qt::ApplicationModal);
    if (picker->exec() != QDialog::Accepted) return std::nullopt;
    return picker->currentCustomer();
}

} // namespace customers
