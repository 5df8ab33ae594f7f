// Inserts N rows (100,000 by default, or the first argument) through the
// gateway's ExecutarInsert and through the bare Firebird client with one
// prepared statement, each inside one transaction on the embedded engine,
// and prints both times and their ratio (bare time / gateway time; 1.0
// means the gateway costs nothing, the target is at least 0.8). Times are
// the CPU time of the inserting thread (the embedded engine works in it),
// best of five alternating rounds, so that other load on the machine
// does not decide the result; wall-clock times are shown beside them.
#include <firebird/Interface.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLocale>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <cstring>
#include <string>
#include <vector>

#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/ConexaoFirebird.h"
#include "platform/DiretorioPrograma.h"
#include "settings/IniFile.h"
#include "store/DmInstala.h"

using namespace Firebird;
using namespace vesko;

namespace {

struct Tempo {
    double cpu = 0, parede = 0;
};

class Cronometro {
public:
    Cronometro() { m_parede.start(); m_cpu = Cpu(); }
    Tempo Medir() const { return {Cpu() - m_cpu, m_parede.nsecsElapsed() / 1e9}; }

private:
    static double Cpu() {
        timespec ts{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
        return ts.tv_sec + ts.tv_nsec / 1e9;
    }
    QElapsedTimer m_parede;
    double m_cpu;
};

const QString kInsert = QStringLiteral(
    "INSERT INTO ITENS\r\n (ID,\r\n  NOME,\r\n  VALOR,\r\n  MOMENTO) \r\nVALUES\r\n (:pId,\r\n  :pNome,\r\n  :pValor,\r\n  :pMomento)");

Tempo Gateway(int n) {
    TComunicacaoBancoBistrel g(QStringLiteral("Importação"));
    bool primeira = false;
    if (!g.Conectar(primeira)) return {-1, -1};
    const QDateTime momento(QDate(2026, 12, 8), QTime(11, 20, 9));
    const Cronometro t;
    bool ok = g.IniciarTransacao();
    for (int i = 0; i < n && ok; ++i) {
        TParams p;
        p.CreateParam(TFieldType::ftInteger, QStringLiteral("pId")).SetAsInteger(i);
        p.CreateParam(TFieldType::ftString, QStringLiteral("pNome")).SetAsString(QStringLiteral("Produto nº %1").arg(i));
        p.CreateParam(TFieldType::ftFloat, QStringLiteral("pValor")).SetAsFloat(i * 0.25);
        p.CreateParam(TFieldType::ftDateTime, QStringLiteral("pMomento")).SetAsDateTime(momento);
        ok = g.ExecutarInsert(kInsert, p);
    }
    ok = ok && g.ConfirmarTransacao();
    const Tempo s = t.Medir();
    g.Desconectar();
    return ok ? s : Tempo{-1, -1};
}

void Verificar(CheckStatusWrapper& st) {
    if (st.getState() & IStatus::STATE_ERRORS) {
        char texto[1024];
        fb_get_master_interface()->getUtilInterface()->formatStatus(texto, sizeof texto, &st);
        std::fprintf(stderr, "erro do cliente Firebird: %s\n", texto);
        std::exit(1);
    }
}

Tempo Direto(const QString& banco, int n) {
    IMaster* m = fb_get_master_interface();
    IUtil* u = m->getUtilInterface();
    CheckStatusWrapper st(m->getStatus());
    IXpbBuilder* dpb = u->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
    dpb->insertString(&st, isc_dpb_user_name, "SYSDBA");
    dpb->insertString(&st, isc_dpb_lc_ctype, "WIN1252");
    dpb->insertString(&st, isc_dpb_config, "Providers=Engine12");
    const QByteArray caminho = banco.toLocal8Bit();
    IAttachment* att = m->getDispatcher()->attachDatabase(&st, caminho.constData(), dpb->getBufferLength(&st), dpb->getBuffer(&st));
    Verificar(st);
    const char* sql = "INSERT INTO ITENS (ID, NOME, VALOR, MOMENTO) VALUES (?, ?, ?, ?)";
    const Cronometro t;
    ITransaction* tra = att->startTransaction(&st, 0, nullptr);
    IStatement* stmt = att->prepare(&st, tra, 0, sql, 3, IStatement::PREPARE_PREFETCH_METADATA);
    Verificar(st);
    IMessageMetadata* meta = stmt->getInputMetadata(&st);
    std::vector<unsigned char> buf(meta->getMessageLength(&st) + 8);
    unsigned char* b = buf.data();
    unsigned off[4], nul[4];
    for (unsigned i = 0; i < 4; ++i) {
        off[i] = meta->getOffset(&st, i);
        nul[i] = meta->getNullOffset(&st, i);
        *reinterpret_cast<short*>(b + nul[i]) = 0;
    }
    const ISC_DATE data = u->encodeDate(2026, 12, 8);
    const ISC_TIME hora = u->encodeTime(11, 20, 9, 0);
    const int escala = meta->getScale(&st, 2);
    for (int i = 0; i < n; ++i) {
        *reinterpret_cast<ISC_LONG*>(b + off[0]) = i;
        char nome[64];
        const int len = std::snprintf(nome, sizeof nome, "Produto n\xBA %d", i);
        *reinterpret_cast<unsigned short*>(b + off[1]) = static_cast<unsigned short>(len);
        std::memcpy(b + off[1] + 2, nome, static_cast<size_t>(len));
        ISC_INT64 valor = static_cast<ISC_INT64>(i) * 25;  // i * 0.25 at scale -2
        if (escala != -2) valor = 0;
        *reinterpret_cast<ISC_INT64*>(b + off[2]) = valor;
        ISC_TIMESTAMP ts{data, hora};
        std::memcpy(b + off[3], &ts, sizeof ts);
        stmt->execute(&st, tra, meta, b, nullptr, nullptr);
        Verificar(st);
    }
    tra->commit(&st);
    Verificar(st);
    const Tempo s = t.Medir();
    meta->release();
    stmt->free(&st);
    att->detach(&st);
    st.dispose();
    return s;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int n = argc > 1 ? std::atoi(argv[1]) : 100000;
    TEscutaAuditoriaBanco escuta([](const TRegistroAuditoriaBanco& r) {
        std::fprintf(stderr, "%s\n%s\n", qUtf8Printable(r.DescricaoCurta), qUtf8Printable(r.Detalhes));
    });
    QTemporaryDir dir;
    DefinirDiretorioPrograma(dir.path());
    TIniFile ini(dir.filePath(QStringLiteral("Quorvel_IntegradorVesko.ini")));
    ini.WriteString(QStringLiteral("CONFIGS"), QStringLiteral("DiretorioBaseDeDados"), dir.path());
    ini.WriteString(QStringLiteral("BANCO"), QStringLiteral("Servidor"), QStringLiteral("embutido"));
    const QString banco = CaminhoBancoDeDados(dir.path());
    {
        TConexaoFirebird c(TParametrosConexao::DaConfiguracao(banco));
        c.CriarBanco(false);
        TDmInstala().VerificaTables(true, c);  // the gateway stamps its version in FOOD_CONFIG
        c.ExecutarDireto(QStringLiteral("CREATE TABLE ITENS (ID INTEGER, NOME VARCHAR(40), VALOR NUMERIC(15,2), MOMENTO TIMESTAMP)"));
    }
    // One round of each to warm the engine and the page cache, then the
    // measured rounds, alternating; the table is emptied between rounds.
    TConexaoFirebird limpeza(TParametrosConexao::DaConfiguracao(banco));
    limpeza.Conectar();
    Direto(banco, n / 10);
    Gateway(n / 10);
    Tempo direto{1e9, 1e9}, gateway{1e9, 1e9};
    for (int r = 0; r < 5; ++r) {
        limpeza.Executar(QStringLiteral("DELETE FROM ITENS"), nullptr, false);
        const Tempo d = Direto(banco, n);
        limpeza.Executar(QStringLiteral("DELETE FROM ITENS"), nullptr, false);
        const Tempo g = Gateway(n);
        if (g.cpu < 0) {
            std::fprintf(stderr, "falha nas inserções pelo gateway\n");
            return 1;
        }
        direto = {std::min(direto.cpu, d.cpu), std::min(direto.parede, d.parede)};
        gateway = {std::min(gateway.cpu, g.cpu), std::min(gateway.parede, g.parede)};
    }
    std::printf("inserções: %d por rodada, melhor de 5 rodadas (tempo de CPU; relógio entre parênteses)\n", n);
    std::printf("cliente direto, um comando preparado: %.3f s (%.3f s), %.0f linhas/s\n", direto.cpu, direto.parede, n / direto.cpu);
    std::printf("gateway, ExecutarInsert:              %.3f s (%.3f s), %.0f linhas/s\n", gateway.cpu, gateway.parede, n / gateway.cpu);
    std::printf("razão (direto / gateway): %.2f (meta: 0,80 ou mais)\n", direto.cpu / gateway.cpu);
    return 0;
}
