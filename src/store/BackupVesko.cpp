#include "store/BackupVesko.h"

#include <firebird/Interface.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <vector>

#ifdef Q_OS_WIN
#include <io.h>
#else
#include <unistd.h>
#endif

#include "base/Excecoes.h"
#include "base/Relogio.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/MonitorSql.h"
#include "store/ManutencaoBackups.h"

using namespace Firebird;

namespace vesko {
namespace {

const QString kOrigem = QStringLiteral("TBackupVesko");

// The provisional file of a backup: created new (never over a taken name),
// written, flushed and synced to disk before it may take its final name;
// removed unless it was completed.
class ArquivoParcial {
public:
    explicit ArquivoParcial(const QString& caminho) : m_f(caminho) {
        if (!m_f.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            throw EInOutError(QStringLiteral("Não foi possível criar o arquivo de backup %1: %2")
                                  .arg(caminho, m_f.errorString()));
    }
    ~ArquivoParcial() {
        if (m_concluido) return;
        m_f.close();
        m_f.remove();
    }

    void Gravar(const char* dados, qint64 tamanho) {
        if (m_f.write(dados, tamanho) != tamanho) Falhou();
        m_total += tamanho;
    }

    // Flush + fsync + close; the file stays.
    void Concluir() {
        if (!m_f.flush()) Falhou();
        if (!Sincronizar())
            throw EInOutError(QStringLiteral("Não foi possível gravar o arquivo de backup %1 no disco: %2")
                                  .arg(m_f.fileName(), qt_error_string(errno)));
        m_f.close();
        if (m_f.error() != QFileDevice::NoError) Falhou();
        m_concluido = true;
    }

    qint64 Total() const { return m_total; }

private:
    bool Sincronizar() {
#ifdef Q_OS_WIN
        return ::_commit(m_f.handle()) == 0;
#else
        return ::fsync(m_f.handle()) == 0;
#endif
    }
    [[noreturn]] void Falhou() {
        throw EInOutError(QStringLiteral("Não foi possível gravar o arquivo de backup %1: %2")
                              .arg(m_f.fileName(), m_f.errorString()));
    }

    QFile m_f;
    qint64 m_total = 0;
    bool m_concluido = false;
};

// The backup service, asked to write the backup to its standard output
// ("stdout"), which this client fetches with isc_info_svc_to_eof queries
// and writes itself. The server (local, remote, or the embedded engine)
// thus never needs a folder of ours it can write.
class Servico {
public:
    Servico() : m_mestre(fb_get_master_interface()), m_st(m_mestre->getStatus()) {}
    ~Servico() {
        if (m_svc) {
            m_st.init();
            m_svc->detach(&m_st);
            if (m_st.getState() & IStatus::STATE_ERRORS) m_svc->release();
        }
        m_st.dispose();
    }

    void Verificar() {
        if (!(m_st.getState() & IStatus::STATE_ERRORS)) return;
        char texto[4096];
        m_mestre->getUtilInterface()->formatStatus(texto, sizeof texto, &m_st);
        const ISC_STATUS* e = m_st.getErrors();
        const int sqlCode = static_cast<int>(isc_sqlcode(e));
        const std::intptr_t gds = e[0] == isc_arg_gds ? e[1] : 0;
        m_st.init();
        throw EFirebirdError(QString::fromUtf8(texto).trimmed(), sqlCode, gds);
    }

    void Backup(const TParametrosConexao& p, ArquivoParcial& destino) {
        Anexar(p);
        Iniciar(p);
        while (ReceberParte(destino)) {
        }
    }

private:
    void Anexar(const TParametrosConexao& p) {
        IXpbBuilder* spb = m_mestre->getUtilInterface()->getXpbBuilder(&m_st, IXpbBuilder::SPB_ATTACH, nullptr, 0);
        Verificar();
        const QByteArray usuario = p.Usuario.toUtf8(), senha = p.Senha.toUtf8();
        spb->insertString(&m_st, isc_spb_user_name, usuario.constData());
        spb->insertString(&m_st, isc_spb_password, senha.constData());
        if (p.Embutido()) spb->insertString(&m_st, isc_spb_config, "Providers=Engine12");
        Verificar();
        const QByteArray gerenciador = p.TextoGerenciadorServicos().toUtf8();
        m_svc = m_mestre->getDispatcher()->attachServiceManager(&m_st, gerenciador.constData(),
                                                                spb->getBufferLength(&m_st), spb->getBuffer(&m_st));
        spb->dispose();
        Verificar();
    }

    void Iniciar(const TParametrosConexao& p) {
        IXpbBuilder* pedido = m_mestre->getUtilInterface()->getXpbBuilder(&m_st, IXpbBuilder::SPB_START, nullptr, 0);
        Verificar();
        const QByteArray banco = QFile::encodeName(p.Banco);
        pedido->insertTag(&m_st, isc_action_svc_backup);
        pedido->insertString(&m_st, isc_spb_dbname, banco.constData());
        pedido->insertString(&m_st, isc_spb_bkp_file, "stdout");
        Verificar();
        m_svc->start(&m_st, pedido->getBufferLength(&m_st), pedido->getBuffer(&m_st));
        pedido->dispose();
        Verificar();
    }

    // One query: the data it brings goes to `destino`. True while the
    // service has more to send; false once it has ended. An error of the
    // service (also one that stops it halfway) raises here.
    bool ReceberParte(ArquivoParcial& destino) {
        // Wait at most a second per query, so that a query never blocks on
        // a service that is still working.
        static const unsigned char envio[] = {isc_info_svc_timeout, 4, 0, 1, 0, 0, 0, isc_info_end};
        static const unsigned char pedido[] = {isc_info_svc_to_eof};
        std::vector<unsigned char> resp(kTamanhoResposta);
        m_svc->query(&m_st, sizeof envio, envio, sizeof pedido, pedido, static_cast<unsigned>(resp.size()), resp.data());
        Verificar();
        bool mais = false;
        const unsigned char* p = resp.data();
        const unsigned char* const fim = p + resp.size();
        while (p < fim && *p != isc_info_end) {
            switch (*p++) {
            case isc_info_svc_to_eof: {
                if (fim - p < 2) RespostaInvalida();
                const auto tamanho = static_cast<qint64>(isc_vax_integer(reinterpret_cast<const ISC_SCHAR*>(p), 2));
                p += 2;
                if (fim - p < tamanho) RespostaInvalida();
                destino.Gravar(reinterpret_cast<const char*>(p), tamanho);
                p += tamanho;
                mais = mais || tamanho > 0;
                break;
            }
            case isc_info_truncated:       // more than fitted in the answer
            case isc_info_data_not_ready:  // nothing yet, the service goes on
            case isc_info_svc_timeout:
                mais = true;
                break;
            default:
                RespostaInvalida();
            }
        }
        if (p >= fim) RespostaInvalida();  // no isc_info_end: the answer was cut
        return mais;
    }

    [[noreturn]] static void RespostaInvalida() {
        throw EDatabaseError(QStringLiteral("O serviço de backup do Firebird enviou uma resposta inválida."));
    }

    static constexpr std::size_t kTamanhoResposta = 32 * 1024;

    IMaster* m_mestre;
    CheckStatusWrapper m_st;
    IService* m_svc = nullptr;
};

// A gbak backup begins with its header record (rec_burp, then the backup
// format attribute); anything else is not a backup.
void VerificarCabecalho(const QString& arquivo) {
    QFile f(arquivo);
    const QByteArray inicio = f.open(QIODevice::ReadOnly) ? f.read(2) : QByteArray();
    if (inicio.size() < 2 || inicio.at(0) != 0 || inicio.at(1) != 2)
        throw EDatabaseError(QStringLiteral("O serviço de backup não devolveu um backup válido em %1.").arg(arquivo));
}

}  // namespace

QString TBackupVesko::NomeArquivoLivre(const QString& Pasta) {
    const QString base = QDir(Pasta).filePath(QStringLiteral("VESKO_") +
                                              Relogio::Agora().toString(QStringLiteral("yyyyMMdd_HHmmss")));
    QString nome = base + QStringLiteral(".fbk");
    for (int n = 2; QFileInfo::exists(nome) || QFileInfo::exists(nome + QStringLiteral(".parcial")); ++n)
        nome = base + QStringLiteral("_%1.fbk").arg(n);
    return nome;
}

bool TBackupVesko::Execute(QString& Text, bool Flag) {
    return Execute(TParametrosConexao::DoPrograma(), QString(), Text, Flag);
}

bool TBackupVesko::Execute(const TParametrosConexao& Banco, const QString& Pasta, QString& Text, bool Flag) {
    const QString pasta = Pasta.isEmpty() ? DiretorioBackupsPrograma() : Pasta;
    QString parcial;
    bool criado = false;  // the provisional file is ours to remove
    try {
        if (!QDir().mkpath(pasta))
            throw EInOutError(QStringLiteral("Não foi possível criar a pasta de backups %1.").arg(pasta));
        QString definitivo = NomeArquivoLivre(pasta);
        parcial = definitivo + QStringLiteral(".parcial");
        TMonitorSql::Registrar(kOrigem, QStringLiteral("-- backup de %1 em %2").arg(Banco.Banco, definitivo));
        {
            ArquivoParcial arquivo(parcial);
            criado = true;
            Servico().Backup(Banco, arquivo);
            if (arquivo.Total() <= 0)
                throw EDatabaseError(QStringLiteral("O serviço de backup não devolveu dados para %1.").arg(parcial));
            arquivo.Concluir();
        }
        VerificarCabecalho(parcial);
        // rename never replaces; a name taken meanwhile gets the next one.
        while (!QFile::rename(parcial, definitivo)) {
            if (!QFileInfo::exists(definitivo))
                throw EInOutError(QStringLiteral("Não foi possível renomear o backup para %1.").arg(definitivo));
            definitivo = NomeArquivoLivre(pasta);
        }
        Text = definitivo;
        return true;
    } catch (const Exception& e) {
        if (criado) QFile::remove(parcial);
        if (Flag) throw;
        Text = e.Mensagem();
        return false;
    }
}

}  // namespace vesko
