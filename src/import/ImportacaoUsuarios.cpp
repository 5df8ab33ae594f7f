// Users, waiters and access rights (FUNCIONARIOS, USUARIOS_ACESSOS, USUARIOS_RESTRICOES, SENHAS_GARCONS).
//
// Users and waiters both become rows of FUNCIONARIOS (TPFUNCIONARIO "U" and
// "V"); the users' rewrite empties the table, the waiters are added after it.
// The access catalogue is rebuilt from the codes the restrictions use, each
// with its fixed description. Where this code departs from the plain rewrite:
// - an access code that is not a decimal integer cannot name a POS function,
//   so its restriction is skipped, the rest goes on, and one warning record
//   lists what was skipped;
// - a failed access insert fails the step (the gateway has audited it): a
//   restriction is never written pointing at no access;
// - after each sequence restart the sequence is moved so that it hands out 1
//   next, whatever the server version.
#include "import/ImportacaoPDVBistrelInterna.h"

#include <QStringList>
#include <optional>

#include "audit/ControleLogIntegradorPDVBistrel.h"
#include "db/ComunicacaoBancoBistrel.h"
#include "store/Criptografia.h"
#include "store/TextoLoja.h"

namespace vesko {

namespace {

using TWorker = TImportacaoPDVBistrelInterna;
using TGateway = TComunicacaoBancoBistrel;

const QString kImportacao = QStringLiteral("Importação");

// A statement built line by line in a string list: every line followed by CR LF.
QString Sql(std::initializer_list<const char16_t*> linhas) {
    QString s;
    for (const char16_t* linha : linhas) s += QString::fromUtf16(linha) + QStringLiteral("\r\n");
    return s;
}

// "7" gives "000007": a user's IDFUNCIONARIO, CDFUNCIONARIO and the
// ID_USUARIO of its restrictions.
QString IdUsuario(TClientDataSet& ds) { return StrZero(ds.FieldByName(QStringLiteral("IdUsuario")).AsString(), 6); }

// ---- loaders ---------------------------------------------------------------

bool CarregarUsuarios(TWorker& w) {
    return w.CarregarObrigatorio(QStringLiteral("Usuarios.dat"), w.cdsUsuarios,
                                 QStringLiteral("Carregando arquivo de usuários..."));
}

bool CarregarAcessos(TWorker& w) {
    return w.CarregarOpcional(QStringLiteral("Acessos.dat"), w.cdsAcessos,
                              QStringLiteral("Carregando arquivo de acessos ..."));
}

bool CarregarVendedores(TWorker& w) {
    return w.CarregarObrigatorio(QStringLiteral("Vendedores.dat"), w.cdsVendedores,
                                 QStringLiteral("Carregando arquivo de vendedores..."));
}

// ---- users -----------------------------------------------------------------

QString MontarInsertUsuario(TClientDataSet& ds, TParams& p) {
    const QString id = IdUsuario(ds);
    p.CreateParam(ftString, QStringLiteral("pIdFuncionario")).SetAsString(id);
    p.CreateParam(ftString, QStringLiteral("pCdFuncionario")).SetAsString(id);
    p.CreateParam(ftString, QStringLiteral("pNmFuncionario")).SetAsString(ds.FieldByName(QStringLiteral("NmUsuario")).AsString());
    p.CreateParam(ftString, QStringLiteral("pNmCurto")).SetAsString(ds.FieldByName(QStringLiteral("NmCurto")).AsString());
    p.CreateParam(ftFloat, QStringLiteral("pAlDescontoMaximo"))
        .SetAsFloat(ds.FieldByName(QStringLiteral("AlDescontoMax")).AsFloat());
    p.CreateParam(ftString, QStringLiteral("pSenha"))
        .SetAsString(Criptografy(ds.FieldByName(QStringLiteral("DsSenha")).AsString()));
    p.CreateParam(ftString, QStringLiteral("pTpFuncionario")).SetAsString(QStringLiteral("U"));
    return Sql({u"INSERT INTO FUNCIONARIOS", u" (IDFUNCIONARIO,", u"  CDFUNCIONARIO,", u"  NMFUNCIONARIO,",
                u"  NMCURTO,", u"  ALDESCONTOMAXIMO,", u"  SENHA,", u"  TPFUNCIONARIO) ", u"VALUES",
                u" (:pIdFuncionario,", u"  :pCdFuncionario,", u"  :pNmFuncionario,", u"  :pNmCurto,",
                u"  :pAlDescontoMaximo,", u"  :pSenha,", u"  :pTpFuncionario)"});
}

// No empty-file guard: FUNCIONARIOS is always emptied (waiters too). The run
// never gets here with an empty Usuarios.dat (the file check refuses it);
// called on its own with one, the progress shows the gateway's zero-total text.
bool ImportarUsuarios(TWorker& w, TGateway& g) {
    TReescritaTabela r;
    r.DataSet = &w.cdsUsuarios;
    r.ComGuarda = false;
    r.HintApagando = QStringLiteral("Apagando usuários...");
    r.SqlDelete = QStringLiteral("DELETE FROM FUNCIONARIOS");
    r.TextoProgresso = QStringLiteral("Importando arquivo de usuários ");
    r.MontarInsert = [&w](TParams& p) { return MontarInsertUsuario(w.cdsUsuarios, p); };
    r.ArquivoResumo = QStringLiteral("Usuarios.dat");
    return w.ReescreverTabela(g, r);
}

// ---- access rights ---------------------------------------------------------

struct TDescricaoAcesso {
    int Codigo;
    const char16_t* Descricao;
};

constexpr TDescricaoAcesso kDescricoesAcessos[] = {
    {5002, u"Liberar venda para clientes não cadastrados"},
    {5003, u"Liberar venda para clientes com crédito bloqueado"},
    {5004, u"Liberar venda para clientes com título(s) vencido(s)"},
    {5005, u"Liberar venda para clientes com limite de crédito excedido"},
    {5006, u"Liberar venda para clientes com data de análise de crédito vencida"},
    {5007, u"Liberar venda para clientes com o maior atraso superior ao limite estabelecido"},
    {5008, u"Liberar venda para clientes que a compra for maior que a média estabelecida"},
    {5009, u"Liberar venda para clientes inativos"},
    {9800, u"Abrir Dovrahelm Vesko"},
    {9801, u"Abrir venda caixa"},
    {9802, u"Abrir pedidos"},
    {9803, u"Abrir itens pendentes"},
    {9804, u"Abrir relatórios consultas"},
    {9805, u"Abrir funções administrativas"},
    {9806, u"Conceder desconto maior que o do cadastro do usuário"},
    {9807, u"Sair sem encerrar caixa"},
    {9808, u"Abrir Configurações do sistema"},
    {9809, u"Cancelar item"},
    {9810, u"Cancelar venda/pedido em aberto"},
    {9811, u"Fechar Pedido"},
    {9812, u"Cancelar cupom"},
    {9813, u"Sangria"},
    {9814, u"Suprimento"},
    {9815, u"Cancelar pedido"},
    {9816, u"Bloquear/Desbloquear pedido"},
    {9817, u"Alterar pedido"},
    {9818, u"Transferir pedido"},
    {9819, u"Fechar turno"},
    {9820, u"Fechar caixa"},
    {9821, u"Acessar relatórios gerenciais"},
    {9822, u"Abrir Delivery"},
    {9823, u"Novo Pedido"},
    {9824, u"Enviar Nota"},
    {9825, u"Entregadores"},
    {9826, u"Alterar Status"},
    {9827, u"Editar Pedido"},
    {9828, u"Alterar entregador do pedido"},
    {9829, u"Abrir Endereços de Entregas"},
    {9830, u"Unificação de mesas / comandas"},
    {9831, u"Transferir itens"},
    {9832, u"Liberar abertura do Vesko por outro usuário quando o caixa já estiver aberto"},
    {9833, u"Encerrar o caixa com mesas/comandas abertas(com movimento)"},
};

// The fixed description of an access code; empty for any other code.
QString ObterDescricaoAcesso(int Codigo) {
    for (const TDescricaoAcesso& d : kDescricoesAcessos)
        if (d.Codigo == Codigo) return QString::fromUtf16(d.Descricao);
    return QString();
}

// The access code as a 32-bit decimal integer ("9813", " 9813 ", "+9813");
// nothing for any other text ("ABC", "$264D", "98.13", "").
std::optional<int> CodigoDecimal(const QString& codigo) {
    const QString t = codigo.trimmed();
    if (t.isEmpty()) return std::nullopt;
    for (int i = 0; i < t.size(); ++i)
        if (!t[i].isDigit() && !(i == 0 && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-'))))
            return std::nullopt;
    bool ok = false;
    const int v = t.toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

// The ID of the access with that code in `Id`, or nothing when no row holds
// it. False only when the query did not open (the gateway audited it): a
// failed lookup is never taken for an absent access.
bool ObterIdAcesso(TGateway& g, const QString& codigo, std::optional<int>& Id) {
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pCdAcesso")).SetAsString(codigo);
    std::unique_ptr<TQuery> q;
    const bool aberta = g.AbrirQuery(
        Sql({u"SELECT", u"  ID ", u"FROM", u"  USUARIOS_ACESSOS ", u"WHERE", u"  CODIGO = :pCdAcesso"}), p, q);
    Id.reset();
    if (aberta && !q->IsEmpty()) Id = q->Fields(0).AsInteger();
    return aberta;
}

void RegistrarAcessoNaoEncontrado(const QString& codigo) {
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
        QStringLiteral("Acesso de usuário não encontrado."), kImportacao,
        QStringLiteral("O acesso de código \"") + codigo +
            QStringLiteral("\" foi incluído em USUARIOS_ACESSOS, mas não foi encontrado em seguida; as restrições "
                           "de usuários não foram importadas."),
        QString(), taErro);
}

// The ID of the access with that code, inserting it first when missing.
bool GarantirAcesso(TGateway& g, const QString& codigo, int& Id) {
    std::optional<int> id;
    if (!ObterIdAcesso(g, codigo, id)) return false;
    if (!id) {
        TParams p;
        p.CreateParam(ftString, QStringLiteral("pCodigo")).SetAsString(codigo);
        p.CreateParam(ftString, QStringLiteral("pDescricao"))
            .SetAsString(ObterDescricaoAcesso(CodigoDecimal(codigo).value_or(0)));
        if (!g.ExecutarInsert(Sql({u"INSERT INTO USUARIOS_ACESSOS", u"  (CODIGO, DESCRICAO) ", u"VALUES",
                                   u"  (:pCodigo, :pDescricao)"}),
                              p))
            return false;
        if (!ObterIdAcesso(g, codigo, id)) return false;
        if (!id) {
            RegistrarAcessoNaoEncontrado(codigo);
            return false;
        }
    }
    Id = *id;
    return true;
}

// Restarts the sequence with the quoted statement, then moves it to 0 so the
// next value is 1: after "RESTART WITH 0" Firebird 3 hands out 1 but
// Firebird 4 and later hand out 0 (they keep restart value minus increment).
bool ReiniciarSequencia(TGateway& g, const QString& sequencia) {
    if (!g.ExecutarAlter(QStringLiteral("ALTER SEQUENCE ") + sequencia + QStringLiteral(" RESTART WITH 0")))
        return false;
    std::unique_ptr<TQuery> q;
    return g.AbrirQuery(QStringLiteral("SELECT GEN_ID(%1, -GEN_ID(%1, 0)) FROM RDB$DATABASE").arg(sequencia),
                        nullptr, q);
}

// Empties both tables (restrictions first: they refer to the accesses) and
// restarts their sequences.
bool LimparAcessos(TWorker& w, TGateway& g) {
    w.DefinirHint(QStringLiteral("Apagando restrições de usuários..."));
    bool ok = g.ExecutarDelete(QStringLiteral("DELETE FROM USUARIOS_RESTRICOES"));
    w.DefinirHint(QStringLiteral("Apagando acessos de usuários..."));
    if (ok) ok = g.ExecutarDelete(QStringLiteral("DELETE FROM USUARIOS_ACESSOS"));
    w.DefinirHint(QStringLiteral("Zerando sequencia de acessos de usuários..."));
    if (ok) ok = ReiniciarSequencia(g, QStringLiteral("GEN_USUARIOS_ACESSOS_ID"));
    w.DefinirHint(QStringLiteral("Zerando sequencia de restrições de usuários..."));
    if (ok) ok = ReiniciarSequencia(g, QStringLiteral("GEN_USUARIOS_RESTRICOES_ID"));
    return ok;
}

// The current record's restriction, with its access. A code that is not a
// decimal integer is added to `ignoradas` and written nowhere.
bool ImportarRestricao(TGateway& g, TClientDataSet& ds, QStringList& ignoradas) {
    const QString idUsuario = IdUsuario(ds);
    const QString codigo = ds.FieldByName(QStringLiteral("IdAcesso")).AsString().trimmed();
    if (!CodigoDecimal(codigo)) {
        ignoradas << QStringLiteral("Usuário %1, código de acesso \"%2\"").arg(idUsuario, codigo);
        return true;
    }
    int idAcesso = 0;
    if (!GarantirAcesso(g, codigo, idAcesso)) return false;
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pIdUsuario")).SetAsString(idUsuario);
    p.CreateParam(ftInteger, QStringLiteral("pIdAcesso")).SetAsInteger(idAcesso);
    p.CreateParam(ftString, QStringLiteral("pTpRestricao"))
        .SetAsString(ds.FieldByName(QStringLiteral("Valor")).AsBoolean() ? QStringLiteral("P") : QStringLiteral("X"));
    return g.ExecutarInsert(QStringLiteral("INSERT INTO USUARIOS_RESTRICOES  (ID_USUARIO, ID_ACESSO, TP_RESTRICAO) "
                                           "VALUES  (:pIdUsuario, :pIdAcesso, :pTpRestricao)"),
                            p);
}

void RegistrarRestricoesIgnoradas(const QStringList& ignoradas) {
    constexpr int kMaximoListado = 50;
    QStringList linhas = ignoradas.mid(0, kMaximoListado);
    if (ignoradas.size() > kMaximoListado)
        linhas << QStringLiteral("... e mais %1.").arg(ignoradas.size() - kMaximoListado);
    TControleLogIntegradorPDVBistrel::RegistrarAuditoria(
        QStringLiteral("Restrições de acesso não importadas."), kImportacao,
        QStringLiteral("O arquivo \"Acessos.dat\" traz %1 restrição(ões) com código de acesso que não é um número "
                       "inteiro. Elas não foram importadas; as demais restrições foram importadas normalmente:")
                .arg(ignoradas.size()) +
            QStringLiteral("\r\n\r\n") + linhas.join(QStringLiteral("\r\n")) +
            QStringLiteral("\r\n\r\nPor favor, corrija os acessos desses usuários no servidor e faça uma nova "
                           "exportação de dados."),
        QString(), taAviso);
}

// Closed or empty accesses dataset: both tables keep their rows.
bool ImportarAcessosUsuarios(TWorker& w, TGateway& g) {
    TClientDataSet& ds = w.cdsAcessos;
    if (!ds.Active() || ds.IsEmpty()) return true;
    const QString texto = QStringLiteral("Importando arquivo de acessos de usuários ");
    const int n = static_cast<int>(ds.RecordCount());
    bool ok = LimparAcessos(w, g);
    w.DefinirProgresso(texto, 1, n);
    QStringList ignoradas;
    int k = 1;
    for (ds.First(); !ds.Eof();) {
        // Once a statement failed the step rolls back: nothing more is run.
        if (ok) ok = ImportarRestricao(g, ds, ignoradas);
        ds.Next();
        w.DefinirProgresso(texto, k, n);
        ++k;
    }
    if (!ok) return false;
    if (!ignoradas.isEmpty()) RegistrarRestricoesIgnoradas(ignoradas);
    w.AdicionarArquivoImportado(QStringLiteral("Acessos.dat"));
    return true;
}

// ---- waiters ---------------------------------------------------------------

bool GarantirSenhaGarcom(TGateway& g, const QString& idGarcom) {
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pIdGarcom")).SetAsString(idGarcom);
    std::unique_ptr<TQuery> q;
    bool ok = g.AbrirQuery(
        Sql({u"SELECT", u"  ID_GARCOM ", u"FROM", u"  SENHAS_GARCONS ", u"WHERE", u"  ID_GARCOM = :pIdGarcom"}), p, q);
    if (ok && q->IsEmpty())
        ok = g.ExecutarInsert(
            Sql({u"INSERT INTO SENHAS_GARCONS", u"  (ID_GARCOM, SENHA, SENHA_MAITRE) ", u"VALUES", u"  (:pIdGarcom, '', 0)"}),
            p);
    return ok;
}

bool ImportarVendedor(TGateway& g, TClientDataSet& ds) {
    const QString id = ds.FieldByName(QStringLiteral("IdVendedor")).AsString();
    const QString nome = ds.FieldByName(QStringLiteral("NmVendedor")).AsString();
    TParams p;
    p.CreateParam(ftString, QStringLiteral("pIdFuncionario")).SetAsString(id);
    p.CreateParam(ftString, QStringLiteral("pCdFuncionario")).SetAsString(ds.FieldByName(QStringLiteral("CdChamada")).AsString());
    p.CreateParam(ftString, QStringLiteral("pNmFuncionario")).SetAsString(nome);
    p.CreateParam(ftString, QStringLiteral("pNmCurto")).SetAsString(nome.left(20));
    p.CreateParam(ftString, QStringLiteral("pTpFuncionario")).SetAsString(QStringLiteral("V"));
    const bool ok = g.ExecutarInsert(Sql({u"INSERT INTO FUNCIONARIOS", u" (IDFUNCIONARIO,", u"  CDFUNCIONARIO,",
                                          u"  NMFUNCIONARIO,", u"  NMCURTO,", u"  TPFUNCIONARIO) ", u"VALUES",
                                          u" (:pIdFuncionario,", u"  :pCdFuncionario,", u"  :pNmFuncionario,",
                                          u"  :pNmCurto,", u"  :pTpFuncionario)"}),
                                     p);
    return ok && GarantirSenhaGarcom(g, id);
}

// Every record runs whatever the others gave; the result is the last
// record's (a waiter that fails in the middle is audited by the gateway and
// left out, and the step still commits).
bool ImportarVendedores(TWorker& w, TGateway& g) {
    TClientDataSet& ds = w.cdsVendedores;
    if (!ds.Active() || ds.IsEmpty()) return true;
    const int n = static_cast<int>(ds.RecordCount());
    bool ok = false;
    w.DefinirProgresso(QStringLiteral("Importando arquivo de Vendedores "), 1, n);
    int k = 1;
    for (ds.First(); !ds.Eof();) {
        ok = ImportarVendedor(g, ds);
        ds.Next();
        w.DefinirProgresso(QStringLiteral("Importando arquivo de vendedores "), k, n);
        ++k;
    }
    if (ok) w.AdicionarArquivoImportado(QStringLiteral("Vendedores.dat"));
    return ok;
}

}  // namespace

bool TImportacaoPDVBistrelInterna::SalvarUsuarios(TComunicacaoBancoBistrel& Gateway) {
    return SalvarPasso(Gateway, QStringLiteral("Salvando garcons, usuários e acessos no banco de dados..."),
                       {[&] { return CarregarUsuarios(*this); }, [&] { return CarregarAcessos(*this); },
                        [&] { return CarregarVendedores(*this); }, [&] { return ImportarUsuarios(*this, Gateway); },
                        [&] { return ImportarAcessosUsuarios(*this, Gateway); },
                        [&] { return ImportarVendedores(*this, Gateway); }});
}

}  // namespace vesko
