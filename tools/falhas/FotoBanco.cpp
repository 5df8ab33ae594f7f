#include "FotoBanco.h"

#include <QCryptographicHash>
#include <QVariant>
#include <algorithm>
#include <memory>

#include "firebird/ConexaoFirebird.h"
#include "firebird/ParametrosConexao.h"
#include "firebird/Query.h"
#include "records/ClienteExportacaoRec.h"

namespace vesko::falhas {

namespace {

std::unique_ptr<TConexaoFirebird> Conectar(const QString& caminhoBanco) {
    auto c = std::make_unique<TConexaoFirebird>(TParametrosConexao::DaConfiguracao(caminhoBanco));
    c->Conectar();
    return c;
}

QString TextoCampo(const TCampoConsulta& f) {
    if (f.IsNull()) return QStringLiteral("\x01");
    const QVariant& v = f.Value();
    if (v.typeId() == QMetaType::QByteArray) return QString::fromLatin1(v.toByteArray().toHex());
    return v.toString();
}

QByteArray DigestoTabela(TConexaoFirebird& c, const QString& sql) {
    const std::unique_ptr<TQuery> q = c.Consultar(sql);
    QStringList linhas;
    for (q->First(); !q->Eof(); q->Next()) {
        QStringList campos;
        for (int i = 0; i < q->FieldCount(); ++i) campos << TextoCampo(q->Fields(i));
        linhas << campos.join(QChar(0x1f));
    }
    std::sort(linhas.begin(), linhas.end());
    return QCryptographicHash::hash(linhas.join(QChar(0x1e)).toUtf8(), QCryptographicHash::Sha1).toHex();
}

QString Texto(const TQuery& q, const char* campo) { return q.FieldByName(QString::fromLatin1(campo)).AsString(); }

void LerLogs(TConexaoFirebird& c, TMultiConjunto& m) {
    const auto q = c.Consultar(QStringLiteral("SELECT DSUSUARIOLOGADO, DSNOMEMAQUINA, DSDESCRICAOCURTA FROM LOGEVT"));
    for (q->First(); !q->Eof(); q->Next())
        ++m[ChaveLog(Texto(*q, "DSUSUARIOLOGADO"), Texto(*q, "DSNOMEMAQUINA"), Texto(*q, "DSDESCRICAOCURTA"))];
}

void LerClientes(TConexaoFirebird& c, TMultiConjunto& m) {
    const auto q = c.Consultar(QStringLiteral("SELECT CPF_CNPJ, NOME FROM CLIENTEEXP"));
    for (q->First(); !q->Eof(); q->Next()) ++m[ChaveCliente(Texto(*q, "CPF_CNPJ"), Texto(*q, "NOME"))];
}

void LerDocumentos(TConexaoFirebird& c, TMultiConjunto& m) {
    const auto q = c.Consultar(QStringLiteral("SELECT CONTEUDOARQUIVO FROM ARQUIVOSDOCUMENTO"));
    for (q->First(); !q->Eof(); q->Next()) ++m[ChaveDocumento(q->Fields(0).AsBytes())];
}

// A movement counts as sent once ST_MOVIMENTO_EXPORTADO is 1; the POS
// puts it back to another value when it changes or cancels the sale, which
// is then sent again (one more header with its id).
void LerVendas(TConexaoFirebird& c, TMultiConjunto& m) {
    const auto q = c.Consultar(QStringLiteral(
        "SELECT IDMOVIMENTO FROM MOVIMENTO WHERE COALESCE(ST_MOVIMENTO_EXPORTADO, 0) <> 1"));
    for (q->First(); !q->Eof(); q->Next()) ++m[ChaveVenda(q->Fields(0).AsInteger())];
}

// What the import owns of each table: customers registered at the checkout
// belong to the POS, the run's date and the version stamp change by
// themselves, and a password is stored with a new random salt every time.
QString SqlTabela(const QString& t) {
    if (t == QLatin1String("CLIENTES")) return QStringLiteral("SELECT * FROM CLIENTES WHERE CADASTRADO_NO_CHECKOUT = 0");
    if (t == QLatin1String("FOOD_CONFIG"))
        return QStringLiteral("SELECT * FROM FOOD_CONFIG WHERE IDENT NOT IN ('DataUltimaAtualizacao', 'VersaoIntegrador')");
    if (t == QLatin1String("FUNCIONARIOS"))
        return QStringLiteral("SELECT IDFUNCIONARIO, CDFUNCIONARIO, NMFUNCIONARIO, NMCURTO, ALDESCONTOMAXIMO, "
                              "TPFUNCIONARIO, CHAR_LENGTH(SENHA) FROM FUNCIONARIOS");
    return QStringLiteral("SELECT * FROM ") + t;
}

}  // namespace

const QStringList& TabelasImportacao() {
    static const QStringList t{
        "GRUPOSTPREC", "TPREC", "TPRECSITEF", "PRAZOS", "FOOD_CONFIG", "FUNCIONARIOS", "USUARIOS_ACESSOS",
        "USUARIOS_RESTRICOES", "SENHAS_GARCONS", "CARACTERISTICAS", "PRODUTOCARACTERISTICAS", "GRUPOS",
        "PRODUTOS", "PRODUTO_COMPOSICAO", "CODIGOSPRODUTOS", "ENTREGA_STATUS", "VALIDACOES", "ITENS_CARDAPIO",
        "DETALHE_VESKO", "DETALHE_VESKO_OPCOES", "DETALHE_VESKO_OBSERVACOES", "CLIENTES"};
    return t;
}

TFotoImportacao FotografarImportacao(const QString& caminhoBanco) {
    const auto c = Conectar(caminhoBanco);
    TFotoImportacao foto;
    for (const QString& t : TabelasImportacao()) foto[t] = DigestoTabela(*c, SqlTabela(t));
    c->Desconectar();
    return foto;
}

TFotoExportacao FotografarExportacao(const QString& caminhoBanco) {
    const auto c = Conectar(caminhoBanco);
    TFotoExportacao foto;
    LerLogs(*c, foto.Pendentes);
    LerClientes(*c, foto.Pendentes);
    LerDocumentos(*c, foto.Pendentes);
    LerVendas(*c, foto.Pendentes);
    c->Desconectar();
    return foto;
}

QString ChaveLog(const QString& usuario, const QString& maquina, const QString& curta) {
    return QStringLiteral("L:") + usuario.trimmed() + QChar(0x1f) + maquina.trimmed() + QChar(0x1f) + curta.trimmed();
}

// Through the record, so both sides are cut to the record's widths alike.
QString ChaveCliente(const QString& cpf, const QString& nome) {
    TClienteExportacaoRec r;
    r.Definir(TClienteExportacaoRec::CpfCnpj, cpf);
    r.Definir(TClienteExportacaoRec::Nome, nome);
    return QStringLiteral("C:") + r.Valor(TClienteExportacaoRec::CpfCnpj).trimmed() + QChar(0x1f) +
           r.Valor(TClienteExportacaoRec::Nome).trimmed();
}

QString ChaveDocumento(const QByteArray& conteudo) {
    return QStringLiteral("D:") + QString::fromLatin1(QCryptographicHash::hash(conteudo, QCryptographicHash::Sha1).toHex());
}

QString ChaveVenda(int idMovimento) { return QStringLiteral("V:%1").arg(idMovimento); }

}  // namespace vesko::falhas
