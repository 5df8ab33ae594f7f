#include "audit/AuditoriaNaoGravada.h"

#include <QFile>
#include <QRegularExpression>
#include <cstdio>

#include "base/Excecoes.h"
#include "base/Relogio.h"
#include "platform/DiretorioPrograma.h"

namespace vesko {
namespace {

// One line per record: line breaks and tabs inside a text become " / " and spaces.
QString EmUmaLinha(const QString& texto) {
    static const QRegularExpression kQuebras(QStringLiteral("[ \\t]*(\\r\\n|\\r|\\n)+[ \\t]*"));
    QString r = texto.trimmed();
    r.replace(kQuebras, QStringLiteral(" / "));
    r.replace(QLatin1Char('\t'), QLatin1Char(' '));
    return r;
}

void EscreverErroPadrao(const QString& linha) noexcept {
    std::fprintf(stderr, "%s\n", linha.toUtf8().constData());
    std::fflush(stderr);
}

void AcrescentarAoArquivo(const QString& linha) {
    QFile f(ArquivoAuditoriaNaoGravada());
    if (!f.open(QIODevice::WriteOnly | QIODevice::Append)) return;
    f.write((linha + QStringLiteral("\r\n")).toUtf8());  // one write: lines of two processes do not mix
    f.close();
}

}  // namespace

QString ArquivoAuditoriaNaoGravada() { return DiretorioPrograma() + QStringLiteral("AuditoriaNaoGravada.txt"); }

QString LinhaAuditoriaNaoGravada(const TAuditoriaNaoGravada& r, const QString& Motivo) {
    const QString tipo = TextoTipoAuditoria(r.TipoAuditoria);
    return QStringList{Relogio::Agora().toString(QStringLiteral("dd/MM/yyyy HH:mm:ss")), EmUmaLinha(r.TipoIntegracao),
                       tipo, EmUmaLinha(r.DescricaoCurta), EmUmaLinha(r.Detalhes),
                       QStringLiteral("Exceção: ") + EmUmaLinha(r.TipoExcecao),
                       QStringLiteral("Motivo da falha na gravação: ") + EmUmaLinha(Motivo)}
        .join(QStringLiteral(" | "));
}

void GuardarAuditoriaNaoGravada(const TAuditoriaNaoGravada& Registro, const QString& Motivo) noexcept {
    try {
        EscreverErroPadrao(QStringLiteral("Não foi possível gravar o registro de auditoria: ") + Motivo);
        AcrescentarAoArquivo(LinhaAuditoriaNaoGravada(Registro, Motivo));
    } catch (...) {  // nothing more can be done for this record
    }
}

std::optional<QString> RegistrarAuditoriaOuGuardar(const TAuditoriaNaoGravada& r) noexcept {
    QString motivo;
    try {
        TControleLogIntegradorPDVBistrel::RegistrarAuditoria(r.DescricaoCurta, r.TipoIntegracao, r.Detalhes,
                                                             r.TipoExcecao, r.TipoAuditoria);
        return std::nullopt;
    } catch (const std::exception& e) {
        motivo = MensagemExcecao(e);
    } catch (...) {
        motivo = QStringLiteral("erro desconhecido");
    }
    GuardarAuditoriaNaoGravada(r, motivo);
    return motivo;
}

int ContarAuditoriasNaoGravadas() {
    QFile f(ArquivoAuditoriaNaoGravada());
    if (!f.open(QIODevice::ReadOnly)) return 0;
    int linhas = 0;
    bool pendente = false;  // characters after the last line break
    char bloco[65536];
    for (qint64 n; (n = f.read(bloco, sizeof bloco)) > 0;) {
        for (qint64 i = 0; i < n; ++i) {
            if (bloco[i] == '\n') {
                ++linhas;
                pendente = false;
            } else if (bloco[i] != '\r') {
                pendente = true;
            }
        }
    }
    return linhas + (pendente ? 1 : 0);
}

QString AvisoAuditoriaNaoGravada() {
    const int n = ContarAuditoriasNaoGravadas();
    if (n == 0) return QString();
    const QString quantos = n == 1 ? QStringLiteral("1 registro de auditoria não pôde ser gravado e está")
                                   : QStringLiteral("%1 registros de auditoria não puderam ser gravados e estão").arg(n);
    return QStringLiteral("Atenção: %1 no arquivo %2 (pode ser apagado depois de lido).")
        .arg(quantos, ArquivoAuditoriaNaoGravada());
}

}  // namespace vesko
