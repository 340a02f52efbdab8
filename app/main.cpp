#include "db/datamodule.h"
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow w;
    db::TDataModule1 dm;
    w.setWindowTitle(QStringLiteral("Kavor"));
    w.show();
    return app.exec();
}
