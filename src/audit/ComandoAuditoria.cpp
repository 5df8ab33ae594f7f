#include "audit/ComandoAuditoria.h"

#include <cstdio>
#include <nlohmann/json.hpp>

#include "audit/AuditoriaNaoGravada.h"
#include "audit/LeituraAuditoria.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"

namespace vesko {
namespace {

struct TOpcoes {
    int Dias = 0;
    bool Json = false;
    bool Detalhes = false;
};

bool Interpretar(const QStringList& args, TOpcoes& o, QString& erro) {
    o.Dias = TConfigsIntegradorPDVBistrel().NumeroDiasBackupLogs();
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        if (a == QLatin1String("--json")) {
            o.Json = true;
        } else if (a == QLatin1String("--detalhes")) {
            o.Detalhes = true;
        } else if (a == QLatin1String("--dias")) {
            bool ok = false;
            o.Dias = i + 1 < args.size() ? args[++i].toInt(&ok) : 0;
            if (!ok || o.Dias < 0 || o.Dias > 36600) {
                erro = QStringLiteral("--dias precisa de um número de dias entre 0 e 36600.");
                return false;
            }
        } else {
            erro = QStringLiteral("Opção desconhecida: %1").arg(a);
            return false;
        }
    }
    o.Dias = std::max(o.Dias, 0);
    return true;
}

void Escrever(FILE* f, const QString& texto) { std::fputs(texto.toUtf8().constData(), f); }

QString Indentado(const QString& texto) {
    QString t = texto;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    while (t.endsWith(QLatin1Char('\n'))) t.chop(1);
    QString r;
    for (const QString& linha : t.split(QLatin1Char('\n'))) r += QStringLiteral("    ") + linha + QLatin1Char('\n');
    return r;
}

}  // namespace

int ExecutarComandoAuditoria(const QStringList& args) {
    TOpcoes o;
    QString erro;
    if (!Interpretar(args, o, erro)) {
        Escrever(stderr, erro + QStringLiteral("\nUso: Quorvel_IntegradorVesko auditoria [--dias N] [--json] [--detalhes]\n"));
        return 2;
    }
    nlohmann::ordered_json lista = nlohmann::ordered_json::array();
    for (const TDiaAuditoria& dia : LerAuditoriasRecentes(o.Dias)) {
        if (!dia.Legivel) Escrever(stderr, AvisoDiaIlegivel(dia.Dia) + QLatin1Char('\n'));
        for (const TRegistroAuditoria& r : dia.Registros) {
            const QString detalhes = o.Detalhes ? LerDetalhesArmazenados(dia.Dia, r.IdAuditoria) : QString();
            if (o.Json) {
                nlohmann::ordered_json j;
                j["IdAuditoria"] = r.IdAuditoria;
                j["TipoIntegracao"] = r.TipoIntegracao.toStdString();
                j["TipoExcecao"] = r.TipoExcecao.toStdString();
                j["DescricaoCurta"] = r.DescricaoCurta.toStdString();
                j["DataOcorrencia"] = r.DataOcorrencia.toString(Qt::ISODate).toStdString();
                j["HoraOcorrencia"] = r.HoraOcorrencia.toString(QStringLiteral("HH:mm:ss")).toStdString();
                j["TipoAuditoria"] = r.TipoAuditoria;
                if (o.Detalhes) j["DetalhesLog"] = detalhes.toStdString();
                lista.push_back(std::move(j));
                continue;
            }
            Escrever(stdout, QStringList{TipoAuditoriaStr(r.TipoAuditoria), r.TipoIntegracao,
                                         r.DataOcorrencia.toString(QStringLiteral("dd/MM/yyyy")),
                                         r.HoraOcorrencia.toString(QStringLiteral("HH:mm:ss")), r.DescricaoCurta}
                                 .join(QLatin1Char('\t')) +
                                 QLatin1Char('\n'));
            if (o.Detalhes) Escrever(stdout, Indentado(detalhes));
        }
    }
    if (o.Json) std::printf("%s\n", lista.dump(2).c_str());
    std::fflush(stdout);
    // Like an unreadable day, on standard error: the JSON on standard output stays whole.
    if (const QString aviso = AvisoAuditoriaNaoGravada(); !aviso.isEmpty()) Escrever(stderr, aviso + QLatin1Char('\n'));
    return 0;
}

}  // namespace vesko
