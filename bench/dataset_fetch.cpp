// Opening a dataset on 100,000 customers and reading every row, against a bare fetch loop
// over fbclient for the same statement, in one run on one generated database.
#include "db/datamodule.h"
#include "db/schema.h"
#include <firebird/Interface.h>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <malloc.h>
#include <fstream>
#include <string>

using namespace Firebird;

static long heapInUse() { return long(mallinfo2().uordblks) + long(mallinfo2().hblkhd); }

static long rssKb()
{
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

static const char* kSelect = "select * from KORISNICI";

// The same statement with nothing of the data layer: prepare, open, fetch into one buffer.
static double bareFetch(const QString& path, long& rows, long& rawBytes)
{
    IMaster* master = fb_get_master_interface();
    ThrowStatusWrapper st(master->getStatus());
    IProvider* prov = master->getDispatcher();
    IUtil* util = master->getUtilInterface();
    IXpbBuilder* dpb = util->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&st, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&st, isc_dpb_lc_ctype, "NONE");
    QByteArray name = path.toLocal8Bit();
    IAttachment* att = prov->attachDatabase(&st, name.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
    const unsigned char tpb[] = {isc_tpb_version3, isc_tpb_write, isc_tpb_read_committed, isc_tpb_rec_version, isc_tpb_nowait};
    QElapsedTimer timer;
    timer.start();
    ITransaction* tra = att->startTransaction(&st, sizeof tpb, tpb);
    IStatement* stmt = att->prepare(&st, tra, 0, kSelect, 3, IStatement::PREPARE_PREFETCH_METADATA);
    IMessageMetadata* meta = stmt->getOutputMetadata(&st);
    std::vector<unsigned char> buffer(meta->getMessageLength(&st));
    unsigned count = meta->getCount(&st);
    IResultSet* rs = stmt->openCursor(&st, tra, nullptr, nullptr, meta, 0);
    rows = 0;
    rawBytes = 0;
    while (rs->fetchNext(&st, buffer.data()) == IStatus::RESULT_OK) {
        ++rows;
        (void)count;
    }
    rs->close(&st);
    double ms = double(timer.nsecsElapsed()) / 1e6;
    // raw row bytes: the data each row carries (text lengths, fixed sizes), measured apart
    rs = stmt->openCursor(&st, tra, nullptr, nullptr, meta, 0);
    while (rs->fetchNext(&st, buffer.data()) == IStatus::RESULT_OK) {
        for (unsigned i = 0; i < count; ++i) {
            if (*reinterpret_cast<short*>(&buffer[meta->getNullOffset(&st, i)])) continue;
            unsigned type = meta->getType(&st, i) & ~1u;
            if (type == SQL_VARYING) rawBytes += *reinterpret_cast<unsigned short*>(&buffer[meta->getOffset(&st, i)]);
            else rawBytes += meta->getLength(&st, i);
        }
    }
    rs->close(&st);
    meta->release();
    stmt->free(&st);
    tra->commit(&st);
    att->detach(&st);
    dpb->dispose();
    return ms;
}

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const int customers = argc > 1 ? atoi(argv[1]) : 100000;
    QTemporaryDir dir;
    QString path = dir.filePath("bench.fdb");
    try {
        db::TDataModule1 dm;
        db::createDatabase(dm.DB, path);
        // fill on the server side: one EXECUTE BLOCK instead of 100,000 round trips
        dm.IBSQL1.sql() << "execute block as declare i integer = 0; begin"
                        << " while (i < " + QString::number(customers) + ") do begin"
                        << "  i = i + 1;"
                        << "  insert into KORISNICI values (:i, 'Korisnik ' || :i || ' Horvatić', lpad(:i, 13, '0'),"
                        << "   iif(mod(:i, 7) = 0, 'DA', 'NE'), 'Ilica ' || :i || ascii_char(13) || ascii_char(10) || '10000 Zagreb',"
                        << "   null, 'OI' || :i, 'Zagreb', null, null, 'VD' || :i, 'Zagreb', 'korisnik' || :i || '@primjer.hr',"
                        << "   '01/234-' || :i, null, null, null, null, null, mod(:i, 10));"
                        << " end end";
        // ':i' is the block's own variable, not a parameter of ours: send the text as it is
        dm.IBSQL1.setParamCheck(false);
        dm.IBSQL1.execQuery();
        dm.IBTransaction1.commit();
        dm.DB.close();

        long rows = 0, raw = 0;
        bareFetch(path, rows, raw);   // warm the page cache of both sides
        double bare = bareFetch(path, rows, raw);

        db::applyTarget(dm.DB, db::connectionTarget({QString(), path, true, false, "SYSDBA", QString()}));
        dm.DB.open();
        long before = rssKb();
        long heapBefore = heapInUse();
        db::Dataset q(&dm.DB, &dm.Read);
        q.setSql(kSelect);
        QElapsedTimer timer;
        timer.start();
        q.open();
        long walked = 0;
        for (q.first(); !q.eof(); q.next()) ++walked;
        double dataset = double(timer.nsecsElapsed()) / 1e6;
        long after = rssKb();
        long heap = heapInUse() - heapBefore;
        // spot check that the rows read back whole
        q.setRecNo(customers / 2);
        std::printf("rows: dataset %ld, bare %ld; row %d: %s\n", walked, rows, customers / 2 + 1,
                    qPrintable(q.value("NAZIV_KORISNIKA").toString()));
        std::printf("memory: dataset %.1f MB on the heap (%.1f MB resident growth), raw row bytes %.1f MB, factor %.2f\n",
                    double(heap) / 1048576.0, double(after - before) / 1024.0, double(raw) / 1048576.0,
                    double(heap) / double(raw));
        std::printf("bench dataset-fetch: dataset %.0f ms, bare %.0f ms, ratio %.2f\n", dataset, bare, dataset / bare);
        return 0;
    } catch (const db::DbError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
        return 1;
    } catch (const FbException& e) {
        char buf[1024];
        fb_get_master_interface()->getUtilInterface()->formatStatus(buf, sizeof buf, e.getStatus());
        std::fprintf(stderr, "%s\n", buf);
        return 1;
    }
}
