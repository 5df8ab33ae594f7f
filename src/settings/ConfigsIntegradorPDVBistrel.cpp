#include "settings/ConfigsIntegradorPDVBistrel.h"

#include "platform/DiretorioPrograma.h"
#include "settings/IniFile.h"

namespace vesko {
namespace {
const QString kSecaoConfigs = QStringLiteral("CONFIGS");
}

TConfigsIntegradorPDVBistrel::TConfigsIntegradorPDVBistrel() {
    const TIniFile ini(GetNomeArquivo());
    m_DiretorioImportacao = ini.ReadString(kSecaoConfigs, QStringLiteral("DiretorioImportacao"), QString());
    m_DiretorioExportacao = ini.ReadString(kSecaoConfigs, QStringLiteral("DiretorioExportacao"), QString());
    m_IntervaloImportacao = ini.ReadInteger(kSecaoConfigs, QStringLiteral("IntervaloImportacao"), 8);
    m_IntervaloExportacao = ini.ReadInteger(kSecaoConfigs, QStringLiteral("IntervaloExportacao"), 5);
    m_DiretorioBaseDeDados = ini.ReadString(kSecaoConfigs, QStringLiteral("DiretorioBaseDeDados"), QString());
    m_NumeroDiasBackupLogs = ini.ReadInteger(kSecaoConfigs, QStringLiteral("NumeroDiasBackupLogs"), 30);
}

void TConfigsIntegradorPDVBistrel::Gravar() const {
    TIniFile ini(GetNomeArquivo());
    ini.AdiarGravacao();  // all six or none
    ini.WriteString(kSecaoConfigs, QStringLiteral("DiretorioImportacao"), m_DiretorioImportacao);
    ini.WriteString(kSecaoConfigs, QStringLiteral("DiretorioExportacao"), m_DiretorioExportacao);
    ini.WriteInteger(kSecaoConfigs, QStringLiteral("IntervaloImportacao"), m_IntervaloImportacao);
    ini.WriteInteger(kSecaoConfigs, QStringLiteral("IntervaloExportacao"), m_IntervaloExportacao);
    ini.WriteString(kSecaoConfigs, QStringLiteral("DiretorioBaseDeDados"), m_DiretorioBaseDeDados);
    ini.WriteInteger(kSecaoConfigs, QStringLiteral("NumeroDiasBackupLogs"), m_NumeroDiasBackupLogs);
    ini.UpdateFile();
}

QString TConfigsIntegradorPDVBistrel::GetNomeArquivo() {
    return DiretorioPrograma() + QStringLiteral("Quorvel_IntegradorVesko.ini");
}

QString GetNomeArquivoQueryDebug() { return DiretorioPrograma() + NomeExecutavel() + QStringLiteral(".ini"); }

bool LerQueryDebug() {
    return TIniFile(GetNomeArquivoQueryDebug()).ReadBool(QStringLiteral("GERAL"), QStringLiteral("QueryDebug"), false);
}

}  // namespace vesko
