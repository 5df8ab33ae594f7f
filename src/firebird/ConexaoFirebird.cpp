#include "firebird/ConexaoFirebird.h"

#include <firebird/Interface.h>

#include <QFile>
#include <atomic>
#include <chrono>
#include <ctime>
#include <vector>

#include "firebird/ClienteFirebird.h"
#include "firebird/ComandosFirebird.h"
#include "firebird/ContagemConfirmacoes.h"
#include "firebird/MensagensFirebird.h"
#include "firebird/MonitorSql.h"

using namespace Firebird;

namespace vesko {

using namespace fb;

namespace {

std::atomic<std::uint64_t> g_confirmacoes{0};
std::atomic<std::int64_t> g_nanossegundosConfirmando{0};
std::atomic<std::int64_t> g_nanossegundosCpuConfirmando{0};

std::int64_t CpuDaThread() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return std::int64_t(ts.tv_sec) * 1000000000 + ts.tv_nsec;
}

}  // namespace

struct TConexaoFirebird::Impl {
    TParametrosConexao parametros;
    QString identificacao;
    CheckStatusWrapper st{Mestre()->getStatus()};
    IUtil* util = Mestre()->getUtilInterface();
    IAttachment* att = nullptr;
    ITransaction* transacao = nullptr;  // the one IniciarTransacao opened
    unsigned dialeto = 3;
    unsigned csConexao = kCsWin1252;
    std::vector<unsigned char> tpb;
    CacheComandos comandos{[this](const QString& tabela) { return EhTabela(tabela); }};

    ~Impl() {
        Fechar();
        st.dispose();
    }

    void ExigirConexao() const {
        if (!att) throw EDatabaseError(QStringLiteral("Não há conexão aberta com o banco de dados."));
    }

    // ---- attach, create, detach

    // `escritaForcada`: on creation, the mode of the new file; on attach, -1
    // leaves the file's mode alone, 0 or 1 sets it.
    std::vector<unsigned char> MontarDpb(bool criar, int escritaForcada) {
        IXpbBuilder* b = util->getXpbBuilder(&st, IXpbBuilder::DPB, nullptr, 0);
        Verificar(st);
        const QByteArray usuario = parametros.Usuario.toUtf8(), senha = parametros.Senha.toUtf8();
        const QByteArray cs = parametros.CharSet.toLatin1();
        b->insertString(&st, isc_dpb_user_name, usuario.constData());
        b->insertString(&st, isc_dpb_password, senha.constData());
        b->insertString(&st, isc_dpb_lc_ctype, cs.constData());
        if (parametros.Embutido()) b->insertString(&st, isc_dpb_config, "Providers=Engine12");
        if (criar) {
            b->insertString(&st, isc_dpb_set_db_charset, cs.constData());
            b->insertInt(&st, isc_dpb_sql_dialect, 3);
        }
        if (escritaForcada >= 0) b->insertInt(&st, isc_dpb_force_write, escritaForcada);
        Verificar(st);
        const unsigned char* p = b->getBuffer(&st);
        std::vector<unsigned char> r(p, p + b->getBufferLength(&st));
        b->dispose();
        Verificar(st);
        return r;
    }

    void LerDialeto() {
        const unsigned char item[] = {isc_info_db_sql_dialect, isc_info_end};
        unsigned char resp[32] = {};
        att->getInfo(&st, sizeof item, item, sizeof resp, resp);
        Verificar(st);
        if (resp[0] == isc_info_db_sql_dialect) {
            const int n = static_cast<int>(isc_vax_integer(reinterpret_cast<const ISC_SCHAR*>(resp + 1), 2));
            dialeto = static_cast<unsigned>(isc_vax_integer(reinterpret_cast<const ISC_SCHAR*>(resp + 3), static_cast<short>(n)));
        }
    }

    // The parameters of every transaction: read committed, waiting on locks.
    void MontarTpb() {
        IXpbBuilder* b = util->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        Verificar(st);
        b->insertTag(&st, isc_tpb_write);
        b->insertTag(&st, isc_tpb_read_committed);
        b->insertTag(&st, isc_tpb_rec_version);
        b->insertTag(&st, isc_tpb_wait);
        // A row locked by the POS for longer than this fails the statement
        // instead of stalling the run (and, through the run's own locks, the
        // POS's next sale).
        b->insertInt(&st, isc_tpb_lock_timeout, kEsperaBloqueioSegundos);
        Verificar(st);
        const unsigned char* p = b->getBuffer(&st);
        tpb.assign(p, p + b->getBufferLength(&st));
        b->dispose();
    }

    void AposConectar() {
        csConexao = parametros.CharSet.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0 ? kCsUtf8 : kCsWin1252;
        LerDialeto();
        MontarTpb();
    }

    void Conectar(int escritaForcada = -1) {
        if (att) return;
        st.init();
        const auto dpb = MontarDpb(false, escritaForcada);
        const QByteArray alvo = QFile::encodeName(parametros.TextoConexao());
        Anexar(Mestre()->getDispatcher()->attachDatabase(&st, alvo.constData(), static_cast<unsigned>(dpb.size()), dpb.data()));
    }

    void Criar(bool escritaForcada) {
        if (att) throw EDatabaseError(QStringLiteral("A conexão já está aberta."));
        st.init();
        const auto dpb = MontarDpb(true, escritaForcada ? 1 : 0);
        const QByteArray alvo = QFile::encodeName(parametros.TextoConexao());
        Anexar(Mestre()->getDispatcher()->createDatabase(&st, alvo.constData(), static_cast<unsigned>(dpb.size()), dpb.data()));
    }

    // Takes the attachment just opened or created (or raises the status's error)
    // and prepares it; a failure there closes it again.
    void Anexar(IAttachment* a) {
        Verificar(st);
        att = a;
        try {
            AposConectar();
        } catch (...) {
            Fechar();
            throw;
        }
    }

    // Closes everything; the first error of the detach is raised after all
    // handles are gone.
    void Fechar() {
        DescartarTransacao();
        comandos.Limpar();
        if (!att) return;
        st.init();
        att->detach(&st);
        if (st.getState() & IStatus::STATE_ERRORS) {
            IAttachment* a = att;
            att = nullptr;
            a->release();
            Verificar(st);
        }
        att = nullptr;
    }

    // Rolls back the open transaction, if any, without raising.
    void DescartarTransacao() {
        if (!transacao) return;
        transacao->rollback(&st);
        if (st.getState() & IStatus::STATE_ERRORS) {
            st.init();
            transacao->release();
        }
        transacao = nullptr;
    }

    // ---- transactions

    ITransaction* NovaTransacao() {
        ITransaction* t = att->startTransaction(&st, static_cast<unsigned>(tpb.size()), tpb.data());
        Verificar(st);
        return t;
    }

    // Runs `f` in the open transaction, or in one committed right after it.
    template <typename F>
    void ComTransacao(F&& f) {
        ExigirConexao();
        if (transacao) {
            f(transacao);
            return;
        }
        ITransaction* t = NovaTransacao();
        try {
            f(t);
        } catch (...) {
            st.init();
            t->rollback(&st);
            if (st.getState() & IStatus::STATE_ERRORS) t->release();
            st.init();
            throw;
        }
        Confirmar(t);
    }

    // Commits a transaction of ComTransacao's; when that fails, rolls it back
    // and raises the commit's error.
    void Confirmar(ITransaction* t) {
        t->commit(&st);
        if (!(st.getState() & IStatus::STATE_ERRORS)) return;
        CheckStatusWrapper st2(Mestre()->getStatus());
        t->rollback(&st2);
        if (st2.getState() & IStatus::STATE_ERRORS) t->release();
        st2.dispose();
        Verificar(st);
    }

    // ---- statements

    // Whether the relation of that name is a table, not a view.
    bool EhTabela(const QString& nome) {
        TParams p;
        p.CreateParam(ftString, QStringLiteral("pTabela")).SetAsString(nome);
        TQuery q;
        Consultar(QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :pTabela "
                                 "AND RDB$VIEW_BLR IS NULL"),
                  &p, q);
        return q.RecordCount() == 1;
    }

    // Runs a statement that opens no cursor. Its output row, when it has
    // one, lands in `saida`; the row's data is returned (nullptr without).
    unsigned char* ExecutarSemCursor(Comando& c, IMessageMetadata* m, unsigned char* dados, ITransaction* t, Buffer& saida) {
        unsigned char* out = c.saida.colunas.empty() ? nullptr : saida.Preparar(c.saida.layout.comprimento);
        c.stmt->execute(&st, t, m, dados, c.saida.colunas.empty() ? nullptr : c.saida.metadados, out);
        Verificar(st);
        return out;
    }

    std::uint64_t LinhasAfetadas(Comando& c) {
        if (c.umaLinha) return 1;
        const std::uint64_t n = c.stmt->getAffectedRecords(&st);
        Verificar(st);
        return n;
    }

    std::uint64_t Executar(const QString& sql, const TParams* params, bool contar) {
        ExigirConexao();
        st.init();
        TMonitorSql::Registrar(identificacao, sql, params);
        std::uint64_t linhas = 0;
        ComTransacao([&](ITransaction* t) {
            Contexto cx{st, att, t, csConexao};
            Comando* c = comandos.Preparar(sql, cx, dialeto);
            unsigned char* dados = nullptr;
            IMessageMetadata* m = MontarEntrada(c->entrada, params, cx, dados);
            if (c->Cursor()) {
                IResultSet* rs = c->stmt->openCursor(&st, t, m, dados, nullptr, 0);
                Verificar(st);
                rs->close(&st);
                Verificar(st);
                return;
            }
            Buffer saida;
            ExecutarSemCursor(*c, m, dados, t, saida);
            if (contar) linhas = LinhasAfetadas(*c);
        });
        return linhas;
    }

    // Every row of the cursor into `q`; the cursor is closed even on failure.
    void Buscar(Comando& c, IMessageMetadata* m, unsigned char* dados, Contexto& cx, TQuery& q) {
        IResultSet* rs = c.stmt->openCursor(&st, cx.t, m, dados, c.saida.metadados, 0);
        Verificar(st);
        try {
            Buffer saida;
            unsigned char* out = saida.Preparar(c.saida.layout.comprimento);
            for (;;) {
                const int r = rs->fetchNext(&st, out);
                Verificar(st);
                if (r != IStatus::RESULT_OK) break;
                q.AdicionarLinha(LerLinha(c.saida, out, cx));
            }
            rs->close(&st);
            Verificar(st);
        } catch (...) {
            CheckStatusWrapper st2(Mestre()->getStatus());
            rs->close(&st2);
            if (st2.getState() & IStatus::STATE_ERRORS) rs->release();
            st2.dispose();
            throw;
        }
    }

    void Consultar(const QString& sql, const TParams* params, TQuery& q) {
        q.Close();
        ExigirConexao();
        st.init();
        TMonitorSql::Registrar(identificacao, sql, params);
        ComTransacao([&](ITransaction* t) {
            Contexto cx{st, att, t, csConexao};
            Comando* c = comandos.Preparar(sql, cx, dialeto);
            unsigned char* dados = nullptr;
            IMessageMetadata* m = MontarEntrada(c->entrada, params, cx, dados);
            q.DefinirCampos(Campos(c->saida));
            if (c->Cursor()) {
                Buscar(*c, m, dados, cx, q);
                return;
            }
            // A statement with output but no cursor (EXECUTE PROCEDURE,
            // RETURNING) gives its one row.
            Buffer saida;
            if (const unsigned char* out = ExecutarSemCursor(*c, m, dados, t, saida))
                q.AdicionarLinha(LerLinha(c->saida, out, cx));
        });
        q.SetSQL(sql);
        q.Abrir();
    }
};

TConexaoFirebird::TConexaoFirebird() : d(std::make_unique<Impl>()) {}

TConexaoFirebird::TConexaoFirebird(TParametrosConexao parametros) : d(std::make_unique<Impl>()) {
    d->parametros = std::move(parametros);
}

TConexaoFirebird::~TConexaoFirebird() {
    try {
        d->Fechar();
    } catch (...) {
        // Closing is all that matters here; the handles are gone either way.
    }
}

const TParametrosConexao& TConexaoFirebird::Parametros() const { return d->parametros; }
void TConexaoFirebird::SetParametros(const TParametrosConexao& p) { d->parametros = p; }
const QString& TConexaoFirebird::Identificacao() const { return d->identificacao; }
void TConexaoFirebird::SetIdentificacao(const QString& texto) { d->identificacao = texto; }

void TConexaoFirebird::Conectar() { d->Conectar(); }
void TConexaoFirebird::Desconectar() { d->Fechar(); }
bool TConexaoFirebird::Conectado() const { return d->att != nullptr; }

void TConexaoFirebird::CriarBanco(bool escritaForcada) { d->Criar(escritaForcada); }

void TConexaoFirebird::DefinirEscritaForcada(bool ligada) {
    d->Fechar();
    d->Conectar(ligada ? 1 : 0);
}

void TConexaoFirebird::ApagarBanco() {
    d->ExigirConexao();
    d->st.init();
    if (d->transacao) {
        d->transacao->rollback(&d->st);
        d->st.init();
        d->transacao = nullptr;
    }
    d->comandos.Limpar();
    d->att->dropDatabase(&d->st);
    Verificar(d->st);
    d->att = nullptr;
}

void TConexaoFirebird::IniciarTransacao() {
    d->ExigirConexao();
    if (d->transacao) throw EDatabaseError(QStringLiteral("Já existe uma transação aberta."));
    d->st.init();
    d->transacao = d->NovaTransacao();
}

void TConexaoFirebird::ConfirmarTransacao() {
    d->ExigirConexao();
    if (!d->transacao) throw EDatabaseError(QStringLiteral("Não há transação aberta."));
    d->st.init();
    const auto inicio = std::chrono::steady_clock::now();
    const std::int64_t inicioCpu = CpuDaThread();
    d->transacao->commit(&d->st);
    g_nanossegundosCpuConfirmando += CpuDaThread() - inicioCpu;
    g_nanossegundosConfirmando += std::chrono::duration_cast<std::chrono::nanoseconds>(
                                      std::chrono::steady_clock::now() - inicio)
                                      .count();
    ++g_confirmacoes;
    Verificar(d->st);
    d->transacao = nullptr;
}

void TConexaoFirebird::ReverterTransacao() {
    d->ExigirConexao();
    if (!d->transacao) throw EDatabaseError(QStringLiteral("Não há transação aberta."));
    d->st.init();
    ITransaction* t = d->transacao;
    d->transacao = nullptr;
    t->rollback(&d->st);
    if (d->st.getState() & IStatus::STATE_ERRORS) {
        // The transaction dies with the attachment; the handle is dropped.
        t->release();
        Verificar(d->st);
    }
}

bool TConexaoFirebird::EmTransacao() const { return d->transacao != nullptr; }

void TConexaoFirebird::EmUmaTransacao(const std::function<void()>& f) {
    if (EmTransacao()) {
        f();
        return;
    }
    IniciarTransacao();
    try {
        f();
    } catch (...) {
        try {
            ReverterTransacao();
        } catch (const Exception&) {
            // the first error is the one to report
        }
        throw;
    }
    try {
        ConfirmarTransacao();
    } catch (...) {
        try {
            ReverterTransacao();
        } catch (const Exception&) {
        }
        throw;
    }
}

std::uint64_t TConexaoFirebird::Executar(const QString& sql, const TParams* params, bool contarLinhas) {
    return d->Executar(sql, params, contarLinhas);
}

void TConexaoFirebird::ExecutarDireto(const QString& sql) {
    d->ExigirConexao();
    d->st.init();
    TMonitorSql::Registrar(d->identificacao, sql);
    const QByteArray texto = Codificar(sql, d->csConexao);
    d->ComTransacao([&](ITransaction* t) {
        d->att->execute(&d->st, t, static_cast<unsigned>(texto.size()), texto.constData(), d->dialeto, nullptr,
                        nullptr, nullptr, nullptr);
        Verificar(d->st);
    });
}

void TConexaoFirebird::Consultar(const QString& sql, const TParams* params, TQuery& destino) {
    d->Consultar(sql, params, destino);
}

std::unique_ptr<TQuery> TConexaoFirebird::Consultar(const QString& sql, const TParams* params) {
    auto q = std::make_unique<TQuery>();
    d->Consultar(sql, params, *q);
    return q;
}

int TConexaoFirebird::Dialeto() const { return static_cast<int>(d->dialeto); }

QString TConexaoFirebird::CharSetBanco() {
    auto q = Consultar(QStringLiteral("SELECT RDB$CHARACTER_SET_NAME FROM RDB$DATABASE"));
    return q->Fields(0).AsString().trimmed();
}

int TConexaoFirebird::ComandosPreparados() const { return d->comandos.Tamanho(); }
int TConexaoFirebird::Preparacoes() const { return d->comandos.Compilados(); }

TContagemConfirmacoes ConfirmacoesDoProcesso() {
    return {g_confirmacoes.load(), g_nanossegundosConfirmando.load() / 1e9, g_nanossegundosCpuConfirmando.load() / 1e9};
}

}  // namespace vesko
