// The check after the load.
#include "ConferenciaCarga.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>
#include <exception>

#include "base/Excecoes.h"
#include "firebird/ConexaoFirebird.h"
#include "firebird/Params.h"
#include "firebird/Query.h"
#include "records/VendaHeader.h"
#include "records/VendaItemRec.h"

namespace vesko::carga {

namespace {

// The prefixes of a sale's files: header, items, cancellation, alteration
// and the document files (also their alteration forms).
const QStringList kPrefixos{QStringLiteral("HDoc"),  QStringLiteral("DDoc"),  QStringLiteral("CDoc"),
                            QStringLiteral("ADoc"),  QStringLiteral("SDoc"),  QStringLiteral("XDoc"),
                            QStringLiteral("IDDoc"), QStringLiteral("SDocC"), QStringLiteral("XDocC"),
                            QStringLiteral("XDocE"), QStringLiteral("Danfe"), QStringLiteral("ASDoc"),
                            QStringLiteral("AXDoc"), QStringLiteral("ADanfe")};
const QSet<QString> kPrefixosDocumento{QStringLiteral("SDoc"),  QStringLiteral("XDoc"),  QStringLiteral("IDDoc"),
                                       QStringLiteral("SDocC"), QStringLiteral("XDocC"), QStringLiteral("XDocE"),
                                       QStringLiteral("Danfe"), QStringLiteral("ASDoc"), QStringLiteral("AXDoc"),
                                       QStringLiteral("ADanfe")};

// The sale a header file names, or 0 (with a problem noted) when it cannot
// be read.
int IdDoCabecalho(const QString& caminho, QStringList& problemas) {
    try {
        TVendaHeader h;
        TLeituraVendaHeaderCorvane::GetVendaHeader(caminho, h);
        return h.Valor(TVendaHeader::IdMovimento);
    } catch (const std::exception& e) {
        problemas << QStringLiteral("cabeçalho ilegível %1: %2").arg(caminho, MensagemExcecao(e));
        return 0;
    }
}

void LerMarcas(const QString& caminho, QHash<QString, int>& marcas) {
    static const QRegularExpression re(QStringLiteral("carga=\"(carga-\\d+)\""));
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) return;
    const QString texto = QString::fromLatin1(f.readAll());
    for (auto it = re.globalMatch(texto); it.hasNext();) ++marcas[it.next().captured(1)];
}

// One set: its files by prefix.
void LerConjunto(const QString& diretorio, const QString& base, const QSet<QString>& prefixos,
                 TDiretorioExportacao& r) {
    ++r.Conjuntos;
    const auto caminho = [&](const QString& p) { return diretorio + QLatin1Char('/') + p + base; };
    for (const QString& p : prefixos)
        if (kPrefixosDocumento.contains(p)) LerMarcas(caminho(p), r.Marcas);
    if (prefixos.contains(QStringLiteral("HDoc"))) {
        if (!prefixos.contains(QStringLiteral("DDoc")))
            r.Problemas << QStringLiteral("conjunto sem DDoc: %1").arg(base);
        else if (QFileInfo(caminho(QStringLiteral("DDoc"))).size() % TVendaItemRec::Tamanho != 0)
            r.Problemas << QStringLiteral("DDoc incompleto: %1").arg(base);
        if (const int id = IdDoCabecalho(caminho(QStringLiteral("HDoc")), r.Problemas)) r.ConjuntosVenda[id] << base;
    }
    // A document row sent by its type (SDOCC, XDOC, ...) is a file of its own.
    if (!prefixos.contains(QStringLiteral("HDoc")) && !prefixos.contains(QStringLiteral("CDoc"))) {
        if (prefixos.size() == 1) ++r.ConjuntosPorTipo;
        else
            r.Problemas << QStringLiteral("conjunto sem HDoc nem CDoc: %1 (%2)")
                               .arg(base, QStringList(prefixos.cbegin(), prefixos.cend()).join(QLatin1Char(',')));
    }
    if (prefixos.contains(QStringLiteral("CDoc")))
        if (const int id = IdDoCabecalho(caminho(QStringLiteral("CDoc")), r.Problemas))
            r.ConjuntosCancelamento[id] << base;
}

}  // namespace

TDiretorioExportacao LerDiretorioExportacao(const QString& diretorio) {
    TDiretorioExportacao r;
    QHash<QString, QSet<QString>> conjuntos;  // base name -> prefixes
    const QStringList nomes = QDir(diretorio).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& nome : nomes) {
        if (nome.startsWith(QLatin1Char('~')) && nome.endsWith(QLatin1String(".tmp"))) {
            r.Problemas << QStringLiteral("temporário deixado para trás: %1").arg(nome);
            continue;
        }
        const qsizetype colchete = nome.indexOf(QLatin1Char('['));
        if (colchete <= 0 || !kPrefixos.contains(nome.left(colchete))) continue;
        conjuntos[nome.mid(colchete)].insert(nome.left(colchete));
    }
    for (auto it = conjuntos.cbegin(); it != conjuntos.cend(); ++it) LerConjunto(diretorio, it.key(), it.value(), r);
    return r;
}

namespace {

struct TEstado {
    int StMovimento = 0, StExportado = 0;
};

QHash<int, TEstado> EstadosNoBanco(TConexaoFirebird& c, int primeiro) {
    QHash<int, TEstado> r;
    TParams p;
    p.CreateParam(ftInteger, QStringLiteral("pPrimeiro")).SetAsInteger(primeiro);
    auto q = c.Consultar(QStringLiteral("SELECT IDMOVIMENTO, ST_MOVIMENTO, ST_MOVIMENTO_EXPORTADO FROM MOVIMENTO "
                                        "WHERE IDMOVIMENTO >= :pPrimeiro"),
                         &p);
    for (q->First(); !q->Eof(); q->Next())
        r.insert(q->Fields(0).AsInteger(), {q->Fields(1).AsInteger(), q->Fields(2).AsInteger()});
    return r;
}

QSet<QString> MarcasNoBanco(TConexaoFirebird& c) {
    static const QRegularExpression re(QStringLiteral("carga=\"(carga-\\d+)\""));
    QSet<QString> r;
    auto q = c.Consultar(QStringLiteral("SELECT CONTEUDOARQUIVO FROM ARQUIVOSDOCUMENTO"));
    for (q->First(); !q->Eof(); q->Next()) {
        const auto m = re.match(QString::fromLatin1(q->Fields(0).AsBytes().left(300)));
        if (m.hasMatch()) r.insert(m.captured(1));
    }
    return r;
}

void ConferirVendas(const TRegistroCarga& reg, const QHash<int, TEstado>& estados, const TDiretorioExportacao& dir,
                    TConferencia& r) {
    for (const TVendaCarga& v : reg.Vendas) {
        ++r.VendasConferidas;
        const auto e = estados.constFind(v.IdMovimento);
        const int conjuntos = static_cast<int>(dir.ConjuntosVenda.value(v.IdMovimento).size());
        if (e == estados.cend()) {
            r.Violacoes << QStringLiteral("venda %1: sumiu do banco").arg(v.IdMovimento);
        } else if (e->StMovimento == 1 && e->StExportado == 0) {
            ++r.VendasNoBanco;
            if (conjuntos != 0)
                r.Violacoes << QStringLiteral("venda %1: não exportada no banco, mas com %2 conjunto(s) de arquivos")
                                   .arg(v.IdMovimento)
                                   .arg(conjuntos);
        } else if (conjuntos != 1) {
            r.Violacoes << QStringLiteral("venda %1: exportada (%2/%3) com %4 conjuntos de arquivos em vez de um")
                               .arg(v.IdMovimento)
                               .arg(e->StMovimento)
                               .arg(e->StExportado)
                               .arg(conjuntos);
        }
    }
}

void ConferirCancelamentos(const TRegistroCarga& reg, const QHash<int, TEstado>& estados,
                           const TDiretorioExportacao& dir, TConferencia& r) {
    for (const int id : reg.Cancelamentos) {
        ++r.CancelamentosConferidos;
        const TEstado e = estados.value(id);
        const int conjuntos = static_cast<int>(dir.ConjuntosCancelamento.value(id).size());
        if (e.StMovimento != 2) {
            r.Violacoes << QStringLiteral("cancelamento %1: a venda não está cancelada no banco (%2/%3)")
                               .arg(id)
                               .arg(e.StMovimento)
                               .arg(e.StExportado);
        } else if (e.StExportado == 2) {
            ++r.CancelamentosNoBanco;
            if (conjuntos != 0)
                r.Violacoes << QStringLiteral("cancelamento %1: não exportado no banco, mas com %2 CDoc").arg(id).arg(conjuntos);
        } else if (conjuntos != 1) {
            r.Violacoes << QStringLiteral("cancelamento %1: exportado com %2 conjuntos CDoc em vez de um").arg(id).arg(conjuntos);
        }
    }
}

void ConferirDocumentos(const TRegistroCarga& reg, const QSet<QString>& noBanco, const TDiretorioExportacao& dir,
                        TConferencia& r) {
    for (const TDocumentoCarga& d : reg.Documentos) {
        ++r.DocumentosConferidos;
        const int arquivos = dir.Marcas.value(d.Marca);
        const bool banco = noBanco.contains(d.Marca);
        if (banco) ++r.DocumentosNoBanco;
        if (banco ? arquivos == 0 : arquivos == 1) continue;
        r.Violacoes << QStringLiteral("documento %1 (%2 da venda %3): %4 no banco, em %5 arquivo(s)")
                           .arg(d.Marca, d.Tipo)
                           .arg(d.IdMovimento)
                           .arg(banco ? QStringLiteral("ainda") : QStringLiteral("não está"))
                           .arg(arquivos);
    }
}

}  // namespace

TConferencia Conferir(const TRegistroCarga& registro, TConexaoFirebird& conexao, const QString& diretorio) {
    TConferencia r;
    const TDiretorioExportacao dir = LerDiretorioExportacao(diretorio);
    r.Conjuntos = dir.Conjuntos;
    r.ConjuntosPorTipo = dir.ConjuntosPorTipo;
    r.Violacoes = dir.Problemas;
    const int primeiro = registro.Vendas.empty() ? 0 : registro.Vendas.front().IdMovimento;
    const QHash<int, TEstado> estados = EstadosNoBanco(conexao, primeiro);
    ConferirVendas(registro, estados, dir, r);
    ConferirCancelamentos(registro, estados, dir, r);
    ConferirDocumentos(registro, MarcasNoBanco(conexao), dir, r);
    return r;
}

}  // namespace vesko::carga
