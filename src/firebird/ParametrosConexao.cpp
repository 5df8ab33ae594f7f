#include "firebird/ParametrosConexao.h"

#include <QSysInfo>

#include "platform/DiretorioPrograma.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"
#include "settings/IniFile.h"

namespace vesko {

bool TParametrosConexao::Embutido() const {
    return Servidor.trimmed().compare(QLatin1String(kEmbutido), Qt::CaseInsensitive) == 0;
}

bool TParametrosConexao::ArquivoLocal() const {
    if (Embutido()) return true;
    QString host = Servidor.trimmed();
    const qsizetype barra = host.indexOf(QLatin1Char('/'));
    if (barra >= 0) host = host.left(barra);
    host = host.toLower();
    return host.isEmpty() || host == QLatin1String("localhost") || host.startsWith(QLatin1String("127.")) ||
           host == QLatin1String("::1") || host == QSysInfo::machineHostName().toLower();
}

QString TParametrosConexao::TextoConexao() const {
    if (Embutido() || Servidor.trimmed().isEmpty()) return Banco;
    return Servidor.trimmed() + QLatin1Char(':') + Banco;
}

QString TParametrosConexao::TextoGerenciadorServicos() const {
    if (Embutido() || Servidor.trimmed().isEmpty()) return QStringLiteral("service_mgr");
    return Servidor.trimmed() + QStringLiteral(":service_mgr");
}

TParametrosConexao TParametrosConexao::DaConfiguracao(const QString& caminhoBanco) {
    TParametrosConexao p;
    p.Banco = caminhoBanco;
    const TIniFile ini(TConfigsIntegradorPDVBistrel::GetNomeArquivo());
    const QString secao = QStringLiteral("BANCO");
    p.Servidor = ini.ReadString(secao, QStringLiteral("Servidor"), p.Servidor).trimmed();
    if (p.Servidor.isEmpty()) p.Servidor = QStringLiteral("localhost");
    p.Usuario = ini.ReadString(secao, QStringLiteral("Usuario"), p.Usuario);
    p.Senha = ini.ReadString(secao, QStringLiteral("Senha"), p.Senha);
    return p;
}

TParametrosConexao TParametrosConexao::DoPrograma() {
    return DaConfiguracao(CaminhoBancoDeDados(TConfigsIntegradorPDVBistrel().DiretorioBaseDeDados()));
}

QString CaminhoBancoDeDados(const QString& Diretorio) {
    QString d = Diretorio;
    if (!d.endsWith(QLatin1Char('/')) && !d.endsWith(QLatin1Char('\\'))) d += SeparadorDiretorio();
    return d + QStringLiteral("VESKO.GDB");
}

}  // namespace vesko
