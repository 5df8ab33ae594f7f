#include "db/ComandosBanco.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "base/Excecoes.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "firebird/ConexaoFirebird.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"
#include "settings/IniFile.h"
#include "store/DmInstala.h"

namespace vesko {
namespace {

void Escrever(std::FILE* saida, const QString& texto) {
    QString t = texto;
    t.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const QByteArray b = t.toLocal8Bit();
    std::fwrite(b.constData(), 1, static_cast<size_t>(b.size()), saida);
    std::fputc('\n', saida);
    std::fflush(saida);
}

// Without a [BANCO] section the program reaches the database server on this
// machine, as the POS does; when none answers, say what to look at.
void OrientarSemServidor(bool servidorNaoRespondeu) {
    if (!servidorNaoRespondeu) return;
    if (TIniFile(TConfigsIntegradorPDVBistrel::GetNomeArquivo()).SectionExists(QStringLiteral("BANCO"))) return;
    Escrever(stderr, QStringLiteral("Verifique se o servidor de banco de dados do PDV está em execução."));
}

}  // namespace

int ExecutarComandoCriarBase(const QStringList& argumentos) {
    QStringList args = argumentos;
    if (!args.isEmpty() && args.first() == QLatin1String("criar-base")) args.removeFirst();
    if (args.size() != 1 || args.first().trimmed().isEmpty()) {
        Escrever(stderr, QStringLiteral("Uso: Quorvel_IntegradorVesko criar-base DIRETÓRIO"));
        return 2;
    }
    const QString diretorio = args.first();
    if (!QFileInfo(diretorio).isDir()) {
        Escrever(stderr, QStringLiteral("Diretório não encontrado: %1").arg(diretorio));
        return 2;
    }
    const QString caminho = CaminhoBancoDeDados(QDir(diretorio).absolutePath());
    if (QFileInfo::exists(caminho)) {
        Escrever(stderr, QStringLiteral("O arquivo %1 já existe e não foi alterado.").arg(caminho));
        return 1;
    }
    TConexaoFirebird conexao(TParametrosConexao::DaConfiguracao(caminho));
    try {
        // Built without forced writes, which the finished file then gets.
        conexao.CriarBanco(false);
    } catch (const Exception& e) {
        Escrever(stderr, QStringLiteral("Não foi possível criar o banco de dados %1: %2").arg(caminho, e.Mensagem()));
        OrientarSemServidor(ServidorNaoRespondeu(e));
        return 1;
    }
    try {
        TDmInstala dm;
        dm.VerificaTables(true, conexao);
        conexao.DefinirEscritaForcada(true);
        conexao.Desconectar();
    } catch (const Exception& e) {
        // No half-made database is left behind as if it were complete.
        try {
            if (!conexao.Conectado()) conexao.Conectar();
            conexao.ApagarBanco();
        } catch (const Exception&) {
            conexao.Desconectar();
            QFile::remove(caminho);
        }
        Escrever(stderr, QStringLiteral("Não foi possível criar a estrutura do banco de dados %1: %2").arg(caminho, e.Mensagem()));
        return 1;
    }
    Escrever(stdout, QStringLiteral("Banco de dados criado: %1").arg(caminho));
    return 0;
}

int ExecutarComandoConectar() {
    bool servidorNaoRespondeu = false;
    TEscutaAuditoriaBanco escuta([&servidorNaoRespondeu](const TRegistroAuditoriaBanco& r) {
        servidorNaoRespondeu = servidorNaoRespondeu || r.ServidorNaoRespondeu;
        Escrever(stderr, QStringLiteral("[%1] %2 (%3; %4)")
                             .arg(TextoTipoAuditoria(r.TipoAuditoria), r.DescricaoCurta, r.TipoIntegracao, r.TipoExcecao));
        Escrever(stderr, r.Detalhes);
    });
    bool conectado = false;
    QString caminho;
    {
        TComunicacaoBancoBistrel gateway(QStringLiteral("Importação"));
        caminho = gateway.GetCaminhoBancoDeDados();
        bool primeira = true;
        conectado = gateway.Conectar(primeira);
        if (conectado) gateway.Desconectar();
    }
    if (conectado) {
        Escrever(stdout, QStringLiteral("Conexão com o banco de dados %1 realizada com sucesso.").arg(caminho));
        return 0;
    }
    Escrever(stderr, QStringLiteral("Não foi possível conectar ao banco de dados %1.").arg(caminho));
    OrientarSemServidor(servidorNaoRespondeu);
    return 1;
}

}  // namespace vesko
