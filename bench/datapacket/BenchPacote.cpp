// Writes and reads a generated packet of 500 000 rows of 12 fields (3 int32,
// an int16, 2 doubles, a date, a date-time, a Boolean, 2 strings of 30 to 60
// characters, a memo of 50 to 150 characters), about 100 MB, and prints MB/s
// and the peak memory of each phase.
//   bench_datapacket [ROWS] [FILE]
#include "base/Excecoes.h"
#include "datapacket/ClientDataSet.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <cstdio>
#include <random>

using namespace vesko;

namespace {

// Resident set size and its peak, in bytes (Linux).
qint64 Memoria(const char* chave) {
    QFile f(QStringLiteral("/proc/self/status"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& l : f.readAll().split('\n'))
        if (l.startsWith(chave)) return l.mid(static_cast<qsizetype>(std::strlen(chave))).trimmed().split(' ').value(0).toLongLong() * 1024;
    return -1;
}
qint64 Rss() { return Memoria("VmRSS:"); }
qint64 Pico() { return Memoria("VmHWM:"); }
// Starts a new peak from the current resident size.
void ZerarPico() {
    QFile f(QStringLiteral("/proc/self/clear_refs"));
    if (f.open(QIODevice::WriteOnly)) f.write("5");
}

double Mb(qint64 b) { return static_cast<double>(b) / (1024.0 * 1024.0); }

QString Texto(std::mt19937& g, int min, int max) {
    static const char letras[] = "abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789";
    const int n = min + static_cast<int>(g() % static_cast<unsigned>(max - min + 1));
    QString s(n, Qt::Uninitialized);
    for (int i = 0; i < n; ++i) s[i] = QChar(letras[g() % (sizeof(letras) - 1)]);
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const qint64 linhas = argc > 1 ? QString::fromLocal8Bit(argv[1]).toLongLong() : 500000;
    const QString arquivo = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QDir::temp().filePath(QStringLiteral("bench_datapacket.dat"));
    try {
        QElapsedTimer t;
        qint64 tamanho = 0;
        {
            TClientDataSet ds;
            auto& f = ds.FieldDefs();
            f.Add("Id", ftInteger);
            f.Add("Grupo", ftInteger);
            f.Add("Estoque", ftInteger);
            f.Add("Tipo", ftSmallint);
            f.Add("Preco", ftFloat);
            f.Add("Custo", ftFloat);
            f.Add("Validade", ftDate);
            f.Add("Alteracao", ftDateTime);
            f.Add("Ativo", ftBoolean);
            f.Add("Nome", ftString, 60);
            f.Add("Descricao", ftString, 60);
            f.Add("Observacao", ftMemo);
            ds.CreateDataSet();
            std::mt19937 g(42);
            TField* c[12];
            for (int i = 0; i < 12; ++i) c[i] = &ds.Fields(i);
            t.start();
            const QDateTime base(QDate(2026, 1, 1), QTime(8, 0), Qt::UTC);
            for (qint64 i = 0; i < linhas; ++i) {
                ds.Append();
                c[0]->SetAsInteger(i + 1);
                c[1]->SetAsInteger(static_cast<qint64>(g() % 1000));
                c[2]->SetAsInteger(static_cast<qint64>(g() % 100000) - 5000);
                c[3]->SetAsInteger(static_cast<qint64>(g() % 30000));
                c[4]->SetAsFloat(static_cast<double>(g() % 1000000) / 100.0);
                c[5]->SetAsFloat(static_cast<double>(g()) / 7.0);
                c[6]->SetAsDate(base.date().addDays(static_cast<qint64>(g() % 3650)));
                c[7]->SetAsDateTime(base.addMSecs(static_cast<qint64>(g() % 1000000000u)));
                c[8]->SetAsBoolean(g() & 1);
                c[9]->SetAsString(Texto(g, 30, 60));
                c[10]->SetAsString(Texto(g, 30, 60));
                c[11]->SetAsString(Texto(g, 50, 150));
                ds.Post();
            }
            const qint64 msGerar = t.elapsed();
            std::printf("gerar:  %lld linhas em %.2f s (Append/Post)\n", static_cast<long long>(linhas), msGerar / 1000.0);

            {
                const qint64 antes = Rss();
                ZerarPico();
                t.start();
                const QByteArray bytes = ds.SaveToBytes();
                const qint64 ms = t.elapsed();
                std::printf("gravar na memória: %.1f MB em %.3f s = %.0f MB/s; pico de memória +%.1f MB (o próprio pacote)\n",
                            Mb(bytes.size()), ms / 1000.0, Mb(bytes.size()) / (ms / 1000.0), Mb(Pico() - antes));
            }

            const qint64 antes = Rss();
            ZerarPico();
            t.start();
            ds.SaveToFile(arquivo);  // through a temporary file flushed to disk
            const qint64 msGravar = t.elapsed();
            tamanho = QFileInfo(arquivo).size();
            std::printf("gravar no arquivo: %.1f MB em %.3f s = %.0f MB/s; pico de memória +%.1f MB acima dos %.1f MB do conjunto\n",
                        Mb(tamanho), msGravar / 1000.0, Mb(tamanho) / (msGravar / 1000.0), Mb(Pico() - antes), Mb(antes));
        }

        const qint64 antes = Rss();
        ZerarPico();
        t.start();
        TClientDataSet lido;
        lido.LoadFromFile(arquivo);
        const qint64 msLer = t.elapsed();
        const qint64 pico = Pico() - antes;
        std::printf("ler do arquivo: %.1f MB em %.3f s = %.0f MB/s; pico de memória %.1f MB = %.2f x o arquivo (%lld linhas)\n",
                    Mb(tamanho), msLer / 1000.0, Mb(tamanho) / (msLer / 1000.0), Mb(pico),
                    static_cast<double>(pico) / static_cast<double>(tamanho), static_cast<long long>(lido.RecordCount()));

        t.start();
        qint64 soma = 0;
        for (lido.First(); !lido.Eof(); lido.Next())
            for (int i = 0; i < lido.FieldCount(); ++i) soma += lido.Fields(i).AsString().size();
        const qint64 msVarrer = t.elapsed();
        std::printf("varrer: todos os campos como texto em %.3f s = %.0f MB/s (%lld caracteres)\n", msVarrer / 1000.0,
                    Mb(tamanho) / (msVarrer / 1000.0), static_cast<long long>(soma));
    } catch (const Exception& e) {
        std::fprintf(stderr, "bench_datapacket: %s\n", e.what());
        return 1;
    }
    QFile::remove(arquivo);
    return 0;
}
