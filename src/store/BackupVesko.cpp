#include "store/BackupVesko.h"

#include <firebird/Interface.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <vector>

#include "base/Excecoes.h"
#include "base/Relogio.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/MonitorSql.h"
#include "store/ManutencaoBackups.h"

using namespace Firebird;

namespace vesko {
namespace {

const QString kOrigem = QStringLiteral("TBackupVesko");

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

    void Backup(const TParametrosConexao& p, const QString& arquivo) {
        IUtil* util = m_mestre->getUtilInterface();
        IXpbBuilder* spb = util->getXpbBuilder(&m_st, IXpbBuilder::SPB_ATTACH, nullptr, 0);
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

        IXpbBuilder* pedido = util->getXpbBuilder(&m_st, IXpbBuilder::SPB_START, nullptr, 0);
        Verificar();
        const QByteArray banco = QFile::encodeName(p.Banco), destino = QFile::encodeName(arquivo);
        pedido->insertTag(&m_st, isc_action_svc_backup);
        pedido->insertString(&m_st, isc_spb_dbname, banco.constData());
        pedido->insertString(&m_st, isc_spb_bkp_file, destino.constData());
        Verificar();
        m_svc->start(&m_st, pedido->getBufferLength(&m_st), pedido->getBuffer(&m_st));
        pedido->dispose();
        Verificar();

        // The service reports its end (or its error) through the query.
        const unsigned char linha[] = {isc_info_svc_line};
        const unsigned char rodando[] = {isc_info_svc_running};
        for (;;) {
            unsigned char resp[1024] = {};
            m_svc->query(&m_st, 0, nullptr, sizeof linha, linha, sizeof resp, resp);
            Verificar();
            if (resp[0] == isc_info_svc_line && (resp[1] | (resp[2] << 8)) > 0) continue;
            m_svc->query(&m_st, 0, nullptr, sizeof rodando, rodando, sizeof resp, resp);
            Verificar();
            if (resp[0] == isc_info_svc_running &&
                isc_vax_integer(reinterpret_cast<const ISC_SCHAR*>(resp + 1), 4) != 0)
                continue;
            break;
        }
    }

private:
    IMaster* m_mestre;
    CheckStatusWrapper m_st;
    IService* m_svc = nullptr;
};

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
    try {
        if (!QDir().mkpath(pasta))
            throw EInOutError(QStringLiteral("Não foi possível criar a pasta de backups %1.").arg(pasta));
        QString definitivo = NomeArquivoLivre(pasta);
        parcial = definitivo + QStringLiteral(".parcial");
        TMonitorSql::Registrar(kOrigem, QStringLiteral("-- backup de %1 em %2").arg(Banco.Banco, definitivo));
        Servico().Backup(Banco, parcial);
        if (QFileInfo(parcial).size() <= 0)
            throw EDatabaseError(QStringLiteral("O serviço de backup não gravou o arquivo %1.").arg(parcial));
        // rename never replaces; a name taken meanwhile gets the next one.
        while (!QFile::rename(parcial, definitivo)) {
            if (!QFileInfo::exists(definitivo))
                throw EInOutError(QStringLiteral("Não foi possível renomear o backup para %1.").arg(definitivo));
            definitivo = NomeArquivoLivre(pasta);
        }
        Text = definitivo;
        return true;
    } catch (const Exception& e) {
        if (!parcial.isEmpty()) QFile::remove(parcial);
        if (Flag) throw;
        Text = e.Mensagem();
        return false;
    }
}

}  // namespace vesko
