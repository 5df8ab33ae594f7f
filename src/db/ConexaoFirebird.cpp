#include "db/ConexaoFirebird.h"

#include <firebird/Interface.h>

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QRegularExpression>
#include <QSysInfo>
#include <QSet>
#include <cmath>
#include <cstring>
#include <vector>

#include "base/Cp1252.h"
#include "db/MonitorSql.h"
#include "db/SqlParametros.h"
#include "platform/DiretorioPrograma.h"
#include "settings/ConfigsIntegradorPDVBistrel.h"
#include "settings/IniFile.h"

using namespace Firebird;

namespace vesko {

// ---- connection parameters ---------------------------------------------------

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

// ---- the client library --------------------------------------------------------

namespace {

IMaster* Mestre() {
    static IMaster* m = fb_get_master_interface();
    return m;
}

constexpr unsigned kCsNone = 0;
constexpr unsigned kCsOctets = 1;
constexpr unsigned kCsUtf8 = 4;
constexpr unsigned kCsWin1252 = 53;
constexpr unsigned kTamanhoSegmento = 32768;

// Raises EFirebirdError when the status holds an error, and clears it.
void Verificar(CheckStatusWrapper& st) {
    if (!(st.getState() & IStatus::STATE_ERRORS)) return;
    char texto[4096];
    Mestre()->getUtilInterface()->formatStatus(texto, sizeof texto, &st);
    const ISC_STATUS* erros = st.getErrors();
    const int sqlCode = static_cast<int>(isc_sqlcode(erros));
    const std::intptr_t gds = (erros[0] == isc_arg_gds) ? erros[1] : 0;
    QString msg = QString::fromUtf8(texto);
    if (msg.contains(QChar::ReplacementCharacter)) msg = DeCp1252(QByteArray(texto));
    st.init();
    throw EFirebirdError(msg.trimmed(), sqlCode, gds);
}

struct Descricao {
    unsigned tipo = SQL_NULL;  // without the nullable bit
    unsigned comprimento = 0;
    int escala = 0;
    int subtipo = 0;
    unsigned charset = 0;
    bool operator==(const Descricao& o) const {
        return tipo == o.tipo && comprimento == o.comprimento && escala == o.escala && subtipo == o.subtipo &&
               charset == o.charset;
    }
};

bool EhTexto(unsigned tipo) { return tipo == SQL_TEXT || tipo == SQL_VARYING; }

std::vector<Descricao> Descrever(CheckStatusWrapper& st, IMessageMetadata* m) {
    std::vector<Descricao> r;
    if (!m) return r;
    const unsigned n = m->getCount(&st);
    Verificar(st);
    r.resize(n);
    for (unsigned i = 0; i < n; ++i) {
        r[i].tipo = m->getType(&st, i) & ~1u;
        r[i].comprimento = m->getLength(&st, i);
        r[i].escala = m->getScale(&st, i);
        r[i].subtipo = m->getSubType(&st, i);
        r[i].charset = m->getCharSet(&st, i);
        Verificar(st);
    }
    return r;
}

struct Layout {
    std::vector<unsigned> dados, nulos;
    unsigned comprimento = 0;
    void Ler(CheckStatusWrapper& st, IMessageMetadata* m) {
        const unsigned n = m ? m->getCount(&st) : 0;
        dados.resize(n);
        nulos.resize(n);
        for (unsigned i = 0; i < n; ++i) {
            dados[i] = m->getOffset(&st, i);
            nulos[i] = m->getNullOffset(&st, i);
        }
        comprimento = m ? m->getMessageLength(&st) : 0;
        Verificar(st);
    }
};

// A message buffer aligned for every field type.
struct Buffer {
    std::vector<std::uint64_t> mem;
    unsigned char* Preparar(unsigned bytes) {
        mem.assign((bytes + 7) / 8 + 1, 0);
        return reinterpret_cast<unsigned char*>(mem.data());
    }
};

// One input value, converted to the form it travels in.
struct Valor {
    bool nulo = true;
    QByteArray bytes;
    qint64 inteiro = 0;
    double real = 0;
    ISC_DATE data = 0;
    ISC_TIME hora = 0;
    bool logico = false;
};

struct ColunaSaida {
    QString nome;
    Descricao d;
    TFieldType tipo;
};

struct Comando {
    QString sql;
    IStatement* stmt = nullptr;
    unsigned tipo = 0;
    // A single-row INSERT ... VALUES into a table inserts exactly one row
    // when it runs without error, so its count needs no question to the
    // database.
    bool umaLinha = false;
    std::vector<QString> nomes;
    QHash<QString, std::vector<unsigned>> posicoes;  // upper-case name -> placeholders
    QHash<QString, std::vector<unsigned>> posicoesComoEscritas;  // the same by the text's spelling
    // Scratch of each execution, kept to spare allocations.
    std::vector<const TParam*> porPosicao;
    // The parameter names of the last execution, in order, with their
    // placeholders: the runs send the same names row after row.
    std::vector<QString> ultimosNomes;
    std::vector<const std::vector<unsigned>*> ultimasPosicoes;
    std::vector<Valor> valores;
    std::vector<Descricao> sig;
    Buffer buffer;
    IMessageMetadata* entrada = nullptr;  // as the database describes it
    std::vector<Descricao> descEntrada;
    // The input message of the last execution, kept while the values keep
    // the same types.
    std::vector<Descricao> assinatura;
    IMessageMetadata* mensagem = nullptr;
    Layout layoutEntrada;
    IMessageMetadata* saida = nullptr;
    std::vector<ColunaSaida> colunas;
    Layout layoutSaida;

    bool Cursor() const { return tipo == isc_info_sql_stmt_select || tipo == isc_info_sql_stmt_select_for_upd; }

    void Liberar() {
        if (mensagem) mensagem->release();
        if (entrada) entrada->release();
        if (saida) saida->release();
        if (stmt) stmt->release();
        mensagem = entrada = saida = nullptr;
        stmt = nullptr;
    }
};

TFieldType TipoCampo(const Descricao& d) {
    switch (d.tipo) {
        case SQL_TEXT:
        case SQL_VARYING: return ftString;
        case SQL_SHORT: return d.escala < 0 ? ftFloat : ftSmallint;
        case SQL_LONG: return d.escala < 0 ? ftFloat : ftInteger;
        case SQL_INT64: return d.escala < 0 ? ftFloat : ftLargeint;
        case SQL_FLOAT:
        case SQL_DOUBLE:
        case SQL_D_FLOAT: return ftFloat;
        case SQL_TIMESTAMP: return ftDateTime;
        case SQL_TYPE_DATE: return ftDate;
        case SQL_TYPE_TIME: return ftTime;
        case SQL_BOOLEAN: return ftBoolean;
        case SQL_BLOB: return d.subtipo == 1 ? ftMemo : ftBlob;
        default: return ftUnknown;
    }
}


// How a parameter's value travels, by its type.
enum class TCategoria { Texto, Inteiro, Logico, Real, DataHora };

TCategoria Categoria(TFieldType t) {
    if (EhInteiro(t)) return TCategoria::Inteiro;
    if (t == ftBoolean) return TCategoria::Logico;
    if (EhFlutuante(t) || EhDecimal(t)) return TCategoria::Real;
    if (t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp) return TCategoria::DataHora;
    return TCategoria::Texto;  // text, memos, blobs (bytes travel as bytes), unknown
}

// Equal texts, found at once when both share their data (the same literal
// or the same string handed again).
inline bool MesmoTexto(const QString& a, const QString& b) {
    return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
}

// A double as the database stores it in an exact numeric of `casas`
// decimals: scaled by the power of ten, rounded half away from zero with the
// database's own tolerance, truncated. False when it does not fit (the
// database then converts it, and refuses it).
bool NumericoComoOBanco(double v, int casas, qint64& resultado) {
    static const double potencias[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,
                                       1e10, 1e11, 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18};
    if (!std::isfinite(v)) return false;
    double d = v * potencias[casas];
    const double meio = 0.5 + 1e-14;
    d = d > 0 ? d + meio : d - meio;
    if (d <= -9.2233720368547e18 || d >= 9.2233720368547e18) return false;
    resultado = static_cast<qint64>(d);
    return true;
}

[[noreturn]] void ErroValor(const TParam& p) {
    throw EConvertError(QStringLiteral("Valor inválido para o parâmetro '%1': '%2'.").arg(p.Name(), p.AsString()));
}

qint64 InteiroDe(const TParam& p) {
    const QVariant& v = p.Value();
    switch (v.typeId()) {  // the usual kinds first, without a conversion
        case QMetaType::Int: return *static_cast<const int*>(v.constData());
        case QMetaType::LongLong: return *static_cast<const qlonglong*>(v.constData());
        default: break;
    }
    if (v.typeId() == QMetaType::Double) return std::llround(v.toDouble());
    bool ok = false;
    const qint64 n = v.typeId() == QMetaType::QString ? v.toString().trimmed().toLongLong(&ok) : v.toLongLong(&ok);
    if (!ok) ErroValor(p);
    return n;
}

double RealDe(const TParam& p) {
    const QVariant& v = p.Value();
    if (v.typeId() == QMetaType::Double) return *static_cast<const double*>(v.constData());
    bool ok = false;
    double r = 0;
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        r = QLocale().toDouble(t, &ok);
        if (!ok) r = t.toDouble(&ok);
    } else {
        r = v.toDouble(&ok);
    }
    if (!ok) ErroValor(p);
    return r;
}

bool LogicoDe(const TParam& p) {
    const QVariant& v = p.Value();
    if (v.typeId() == QMetaType::QString) {
        const QString t = v.toString().trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0) return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0) return false;
        return InteiroDe(p) != 0;
    }
    return v.toBool();
}

QDateTime DataHoraDe(const TParam& p) {
    const QVariant& v = p.Value();
    QDateTime dt;
    switch (v.typeId()) {
        case QMetaType::QDateTime: dt = v.toDateTime(); break;
        case QMetaType::QDate: dt = QDateTime(v.toDate(), QTime(0, 0)); break;
        case QMetaType::QTime: dt = QDateTime(QDate(1899, 12, 30), v.toTime()); break;
        case QMetaType::Double:
        case QMetaType::Int:
        case QMetaType::LongLong: {
            const double s = v.toDouble();
            const double dias = std::floor(s);
            dt = QDateTime(QDate(1899, 12, 30).addDays(static_cast<qint64>(dias)), QTime(0, 0))
                     .addMSecs(std::llround((s - dias) * 86400000.0));
            break;
        }
        default: dt = QDateTime::fromString(v.toString().trimmed(), Qt::ISODate); break;
    }
    if (!dt.isValid()) ErroValor(p);
    return dt;
}

}  // namespace

// ---- the connection ------------------------------------------------------------

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
    QHash<QString, Comando*> cache;
    Comando* ultimo = nullptr;  // the statement run last, checked before the cache

    ~Impl() {
        Fechar();
        st.dispose();
    }

    QByteArray Codificar(const QString& t) const { return csConexao == kCsUtf8 ? t.toUtf8() : ParaCp1252(t); }
    // The same into `destino`, whose memory is reused from row to row.
    void CodificarEm(const QString& t, QByteArray& destino) const {
        const qsizetype n = t.size();
        destino.resize(n);
        char* o = destino.data();
        const char16_t* u = reinterpret_cast<const char16_t*>(t.constData());
        if (csConexao != kCsUtf8) {
            qsizetype i = 0;
            for (; i < n; ++i) {
                const char16_t c = u[i];
                if (c >= 0x80 && (c < 0xA0 || c > 0xFF)) break;  // Latin-1 part only here
                o[i] = static_cast<char>(c);
            }
            if (i == n) return;
        }
        destino = Codificar(t);
    }

    QString Decodificar(const char* p, int n) const {
        return csConexao == kCsUtf8 ? QString::fromUtf8(p, n) : DeCp1252(QByteArrayView(p, n));
    }

    void ExigirConexao() const {
        if (!att) throw EDatabaseError(QStringLiteral("Não há conexão aberta com o banco de dados."));
    }

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

    void AposConectar() {
        csConexao = parametros.CharSet.compare(QLatin1String("UTF8"), Qt::CaseInsensitive) == 0 ? kCsUtf8 : kCsWin1252;
        const unsigned char item[] = {isc_info_db_sql_dialect, isc_info_end};
        unsigned char resp[32] = {};
        att->getInfo(&st, sizeof item, item, sizeof resp, resp);
        Verificar(st);
        if (resp[0] == isc_info_db_sql_dialect) {
            const int n = static_cast<int>(isc_vax_integer(reinterpret_cast<const ISC_SCHAR*>(resp + 1), 2));
            dialeto = static_cast<unsigned>(isc_vax_integer(reinterpret_cast<const ISC_SCHAR*>(resp + 3), static_cast<short>(n)));
        }
        IXpbBuilder* b = util->getXpbBuilder(&st, IXpbBuilder::TPB, nullptr, 0);
        Verificar(st);
        b->insertTag(&st, isc_tpb_write);
        b->insertTag(&st, isc_tpb_read_committed);
        b->insertTag(&st, isc_tpb_rec_version);
        b->insertTag(&st, isc_tpb_wait);
        // A row locked by the POS for longer than this fails the statement
        // instead of stalling the run.
        b->insertInt(&st, isc_tpb_lock_timeout, 30);
        Verificar(st);
        const unsigned char* p = b->getBuffer(&st);
        tpb.assign(p, p + b->getBufferLength(&st));
        b->dispose();
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

    void LimparCache() {
        ultimo = nullptr;
        for (Comando* c : std::as_const(cache)) {
            c->Liberar();
            delete c;
        }
        cache.clear();
    }

    // Closes everything; the first error of the detach is raised after all
    // handles are gone.
    void Fechar() {
        if (transacao) {
            transacao->rollback(&st);
            if (st.getState() & IStatus::STATE_ERRORS) {
                st.init();
                transacao->release();
            }
            transacao = nullptr;
        }
        LimparCache();
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
        t->commit(&st);
        if (st.getState() & IStatus::STATE_ERRORS) {
            CheckStatusWrapper st2(Mestre()->getStatus());
            t->rollback(&st2);
            if (st2.getState() & IStatus::STATE_ERRORS) t->release();
            st2.dispose();
            Verificar(st);
        }
    }

    // "INSERT INTO name [(columns)] VALUES (...)" (or DEFAULT VALUES) whose
    // target is a table, not a view.
    bool InsercaoDeUmaLinhaEmTabela(const QString& texto) {
        static const QRegularExpression forma(QStringLiteral(
            R"(^\s*INSERT\s+INTO\s+("[^"]+"|[A-Za-z][A-Za-z0-9_$]*)\s*(\([^()]*\))?\s*(VALUES\s*\(|DEFAULT\s+VALUES))"),
            QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch m = forma.match(texto);
        if (!m.hasMatch()) return false;
        QString tabela = m.captured(1);
        tabela = tabela.startsWith(QLatin1Char('"')) ? tabela.mid(1, tabela.size() - 2) : tabela.toUpper();
        TParams p;
        p.CreateParam(ftString, QStringLiteral("pTabela")).SetAsString(tabela);
        TQuery q;
        Consultar(QStringLiteral("SELECT 1 FROM RDB$RELATIONS WHERE RDB$RELATION_NAME = :pTabela "
                                 "AND RDB$VIEW_BLR IS NULL"),
                  &p, q);
        return q.RecordCount() == 1;
    }

    Comando* Preparar(const QString& sql, ITransaction* t) {
        if (ultimo && MesmoTexto(ultimo->sql, sql)) return ultimo;
        if (Comando* c = cache.value(sql)) return ultimo = c;
        const TSqlAnalisado a = AnalisarParametrosSql(sql);
        const QByteArray texto = Codificar(a.Texto);
        auto c = std::make_unique<Comando>();
        try {
            c->stmt = att->prepare(&st, t, static_cast<unsigned>(texto.size()), texto.constData(), dialeto,
                                   IStatement::PREPARE_PREFETCH_METADATA);
            Verificar(st);
            c->tipo = c->stmt->getType(&st);
            c->entrada = c->stmt->getInputMetadata(&st);
            Verificar(st);
            c->saida = c->stmt->getOutputMetadata(&st);
            Verificar(st);
            c->descEntrada = Descrever(st, c->entrada);
            const auto descSaida = Descrever(st, c->saida);
            if (descSaida.size() > 0) {
                c->layoutSaida.Ler(st, c->saida);
                for (unsigned i = 0; i < descSaida.size(); ++i) {
                    const char* alias = c->saida->getAlias(&st, i);
                    const char* campo = c->saida->getField(&st, i);
                    Verificar(st);
                    QString nome = QString::fromUtf8(alias && *alias ? alias : campo);
                    c->colunas.push_back({nome, descSaida[i], TipoCampo(descSaida[i])});
                }
            }
            c->nomes = a.Nomes;
            for (unsigned i = 0; i < a.Nomes.size(); ++i) {
                if (a.Nomes[i].isEmpty()) continue;
                c->posicoes[a.Nomes[i]].push_back(i);
                c->posicoesComoEscritas[a.NomesComoEscritos[i]].push_back(i);
            }
            for (auto it = c->posicoesComoEscritas.begin(); it != c->posicoesComoEscritas.end(); ++it)
                it.value() = c->posicoes.value(it.key().toUpper());
            c->sql = sql;
            if (c->tipo == isc_info_sql_stmt_insert) c->umaLinha = InsercaoDeUmaLinhaEmTabela(a.Texto);
        } catch (...) {
            c->Liberar();
            throw;
        }
        if (cache.size() >= 512) LimparCache();
        Comando* r = c.release();
        cache.insert(sql, r);
        return ultimo = r;
    }

    ISC_QUAD CriarBlob(ITransaction* t, const QByteArray& bytes, const Descricao& d) {
        ISC_QUAD id{};
        std::vector<unsigned char> bpb;
        if (d.subtipo == 1 && d.charset != kCsNone && d.charset != kCsOctets && d.charset != csConexao) {
            // Text in the connection's character set, stored in the column's.
            bpb = {isc_bpb_version1,
                   isc_bpb_source_type, 1, 1,
                   isc_bpb_source_interp, 1, static_cast<unsigned char>(csConexao),
                   isc_bpb_target_type, 1, 1,
                   isc_bpb_target_interp, 1, static_cast<unsigned char>(d.charset)};
        }
        IBlob* b = att->createBlob(&st, t, &id, static_cast<unsigned>(bpb.size()), bpb.empty() ? nullptr : bpb.data());
        Verificar(st);
        for (qsizetype pos = 0; pos < bytes.size(); pos += kTamanhoSegmento) {
            const unsigned n = static_cast<unsigned>(std::min<qsizetype>(kTamanhoSegmento, bytes.size() - pos));
            b->putSegment(&st, n, bytes.constData() + pos);
            if (st.getState() & IStatus::STATE_ERRORS) {
                CheckStatusWrapper st2(Mestre()->getStatus());
                b->cancel(&st2);
                st2.dispose();
                Verificar(st);
            }
        }
        b->close(&st);
        Verificar(st);
        return id;
    }

    QByteArray LerBlob(ITransaction* t, ISC_QUAD id, const Descricao& d) {
        std::vector<unsigned char> bpb;
        if (d.subtipo == 1 && d.charset != kCsNone && d.charset != kCsOctets && d.charset != csConexao) {
            bpb = {isc_bpb_version1,
                   isc_bpb_source_type, 1, 1,
                   isc_bpb_source_interp, 1, static_cast<unsigned char>(d.charset),
                   isc_bpb_target_type, 1, 1,
                   isc_bpb_target_interp, 1, static_cast<unsigned char>(csConexao)};
        }
        IBlob* b = att->openBlob(&st, t, &id, static_cast<unsigned>(bpb.size()), bpb.empty() ? nullptr : bpb.data());
        Verificar(st);
        QByteArray r;
        char seg[kTamanhoSegmento];
        for (;;) {
            unsigned lidos = 0;
            const int res = b->getSegment(&st, sizeof seg, seg, &lidos);
            if (res == IStatus::RESULT_ERROR) {
                CheckStatusWrapper st2(Mestre()->getStatus());
                b->close(&st2);
                if (st2.getState() & IStatus::STATE_ERRORS) b->release();
                st2.dispose();
                Verificar(st);
            }
            if (res == IStatus::RESULT_NO_DATA) break;
            r.append(seg, static_cast<qsizetype>(lidos));
        }
        b->close(&st);
        Verificar(st);
        return r;
    }

    // Binds the parameters into the input message of `c`.
    IMessageMetadata* MontarEntrada(Comando& c, const TParams* params, ITransaction* t, unsigned char*& dados) {
        const size_t n = c.nomes.size();
        c.porPosicao.assign(n, nullptr);
        if (params) {
            size_t k = 0;
            for (const TParam& p : *params) {
                const std::vector<unsigned>* posicoes = nullptr;
                if (k < c.ultimosNomes.size() && MesmoTexto(c.ultimosNomes[k], p.Name())) {
                    posicoes = c.ultimasPosicoes[k];
                } else {
                    // Most parameters are spelled as their placeholder; the
                    // others are matched without regard to case.
                    auto it = c.posicoesComoEscritas.constFind(p.Name());
                    if (it == c.posicoesComoEscritas.constEnd()) {
                        it = c.posicoes.constFind(p.Name().toUpper());
                        if (it == c.posicoes.constEnd())
                            throw EDatabaseError(QStringLiteral("Parâmetro '%1' não encontrado.").arg(p.Name()));
                    }
                    posicoes = &it.value();
                    if (k < c.ultimosNomes.size()) {
                        c.ultimosNomes[k] = p.Name();
                        c.ultimasPosicoes[k] = posicoes;
                    } else {
                        c.ultimosNomes.push_back(p.Name());
                        c.ultimasPosicoes.push_back(posicoes);
                    }
                }
                for (unsigned pos : *posicoes) c.porPosicao[pos] = &p;  // the last of a name wins
                ++k;
            }
        }
        if (n == 0) {
            dados = nullptr;
            return nullptr;
        }
        std::vector<Descricao>& sig = c.sig;
        std::vector<Valor>& vals = c.valores;
        sig.resize(n);
        vals.resize(n);
        for (size_t i = 0; i < n; ++i) {
            const TParam* p = c.porPosicao[i];
            const Descricao& desc = c.descEntrada[i];
            Valor& v = vals[i];
            v.nulo = true;
            sig[i] = desc;
            if (!p || p->IsNull()) continue;
            v.nulo = false;
            if (desc.tipo == SQL_BLOB) {
                const QVariant& val = p->Value();
                v.bytes = val.typeId() == QMetaType::QByteArray ? val.toByteArray() : Codificar(p->AsString());
                continue;
            }
            if (desc.tipo == SQL_BOOLEAN) {
                v.logico = LogicoDe(*p);
                sig[i] = {SQL_BOOLEAN, 1, 0, 0, 0};
                continue;
            }
            switch (Categoria(p->DataType())) {
                case TCategoria::Inteiro:
                case TCategoria::Logico: {
                    v.inteiro = p->DataType() == ftBoolean ? (LogicoDe(*p) ? 1 : 0) : InteiroDe(*p);
                    // An integer column takes the value as it is; anything
                    // else converts it (and refuses what does not fit).
                    const bool cabe = desc.escala == 0 &&
                                      ((desc.tipo == SQL_SHORT && v.inteiro >= INT16_MIN && v.inteiro <= INT16_MAX) ||
                                       (desc.tipo == SQL_LONG && v.inteiro >= INT32_MIN && v.inteiro <= INT32_MAX) ||
                                       desc.tipo == SQL_INT64);
                    if (!cabe) sig[i] = {SQL_INT64, 8, 0, 0, 0};
                    break;
                }
                case TCategoria::Real:
                    v.real = RealDe(*p);
                    if (desc.tipo == SQL_INT64 && desc.escala < 0 && desc.escala >= -18 &&
                        NumericoComoOBanco(v.real, -desc.escala, v.inteiro))
                        break;  // a NUMERIC column: the scaled value, rounded as the database would
                    if (desc.tipo != SQL_DOUBLE) sig[i] = {SQL_DOUBLE, 8, 0, 0, 0};
                    break;
                case TCategoria::DataHora: {
                    const QDateTime dt = DataHoraDe(*p);
                    // Days since 17 November 1858 and tenths of milliseconds.
                    v.data = static_cast<ISC_DATE>(dt.date().toJulianDay() - 2400001);
                    v.hora = static_cast<ISC_TIME>(dt.time().msecsSinceStartOfDay()) * 10u;
                    const unsigned tipo = p->DataType() == ftDate   ? SQL_TYPE_DATE
                                          : p->DataType() == ftTime ? SQL_TYPE_TIME
                                                                     : SQL_TIMESTAMP;
                    if (tipo == SQL_TYPE_DATE) v.hora = 0;
                    sig[i] = {tipo, tipo == SQL_TIMESTAMP ? 8u : 4u, 0, 0, 0};
                    break;
                }
                default: {
                    const QVariant& val = p->Value();
                    unsigned cs = csConexao;
                    if (val.typeId() == QMetaType::QByteArray) {
                        v.bytes = val.toByteArray();
                        cs = kCsOctets;
                    } else if (val.typeId() == QMetaType::QString) {
                        CodificarEm(val.toString(), v.bytes);
                    } else {
                        v.bytes = Codificar(p->AsString());
                    }
                    unsigned comp = static_cast<unsigned>(v.bytes.size());
                    // The declared length keeps the message the same from row
                    // to row; a longer value is left for the database to refuse.
                    if (EhTexto(desc.tipo) && desc.comprimento >= comp)
                        comp = desc.comprimento;
                    else
                        comp = (comp + 63) / 64 * 64;
                    if (comp == 0) comp = 1;
                    if (comp > 32765) throw EDatabaseError(QStringLiteral("Texto longo demais para o parâmetro '%1'.").arg(p->Name()));
                    sig[i] = {SQL_VARYING, comp, 0, 0, cs};
                    break;
                }
            }
        }
        if (sig == c.descEntrada) {
            // Every value travels in its column's own form: the statement's
            // own message serves.
            if (c.mensagem != c.entrada) {
                if (c.mensagem) c.mensagem->release();
                c.entrada->addRef();
                c.mensagem = c.entrada;
                c.assinatura = sig;
                c.layoutEntrada.Ler(st, c.entrada);
            }
        } else if (!c.mensagem || !(sig == c.assinatura)) {
            IMetadataBuilder* b = c.entrada->getBuilder(&st);
            Verificar(st);
            for (unsigned i = 0; i < n; ++i) {
                b->setType(&st, i, sig[i].tipo | 1u);
                b->setLength(&st, i, sig[i].comprimento);
                b->setScale(&st, i, sig[i].escala);
                b->setSubType(&st, i, sig[i].subtipo);
                b->setCharSet(&st, i, sig[i].charset);
            }
            IMessageMetadata* m = b->getMetadata(&st);
            b->release();
            Verificar(st);
            if (c.mensagem) c.mensagem->release();
            c.mensagem = m;
            c.assinatura = sig;
            c.layoutEntrada.Ler(st, m);
        }
        dados = c.buffer.Preparar(c.layoutEntrada.comprimento);
        for (size_t i = 0; i < n; ++i) {
            const Valor& v = vals[i];
            auto* nulo = reinterpret_cast<short*>(dados + c.layoutEntrada.nulos[i]);
            *nulo = v.nulo ? -1 : 0;
            if (v.nulo) continue;
            unsigned char* alvo = dados + c.layoutEntrada.dados[i];
            switch (sig[i].tipo) {
                case SQL_BLOB: {
                    const ISC_QUAD id = CriarBlob(t, v.bytes, sig[i]);
                    std::memcpy(alvo, &id, sizeof id);
                    break;
                }
                case SQL_BOOLEAN: *reinterpret_cast<FB_BOOLEAN*>(alvo) = v.logico ? FB_TRUE : FB_FALSE; break;
                case SQL_INT64: std::memcpy(alvo, &v.inteiro, 8); break;
                case SQL_LONG: {
                    const auto n32 = static_cast<ISC_LONG>(v.inteiro);
                    std::memcpy(alvo, &n32, 4);
                    break;
                }
                case SQL_SHORT: {
                    const auto n16 = static_cast<ISC_SHORT>(v.inteiro);
                    std::memcpy(alvo, &n16, 2);
                    break;
                }
                case SQL_DOUBLE: std::memcpy(alvo, &v.real, 8); break;
                case SQL_TYPE_DATE: std::memcpy(alvo, &v.data, 4); break;
                case SQL_TYPE_TIME: std::memcpy(alvo, &v.hora, 4); break;
                case SQL_TIMESTAMP: {
                    ISC_TIMESTAMP ts{v.data, v.hora};
                    std::memcpy(alvo, &ts, sizeof ts);
                    break;
                }
                case SQL_VARYING: {
                    const auto len = static_cast<unsigned short>(v.bytes.size());
                    std::memcpy(alvo, &len, 2);
                    std::memcpy(alvo + 2, v.bytes.constData(), len);
                    break;
                }
                default: break;
            }
        }
        return c.mensagem;
    }

    QVariant LerColuna(const Comando& c, size_t i, const unsigned char* dados, ITransaction* t) {
        if (*reinterpret_cast<const short*>(dados + c.layoutSaida.nulos[i])) return QVariant();
        const Descricao& d = c.colunas[i].d;
        const unsigned char* p = dados + c.layoutSaida.dados[i];
        const auto escalar = [&](qint64 n) -> QVariant {
            if (d.escala >= 0) return d.tipo == SQL_INT64 ? QVariant(n) : QVariant(static_cast<int>(n));
            return QVariant(static_cast<double>(n) / std::pow(10.0, -d.escala));
        };
        switch (d.tipo) {
            case SQL_TEXT: {
                const char* s = reinterpret_cast<const char*>(p);
                if (d.charset == kCsOctets) return QByteArray(s, static_cast<qsizetype>(d.comprimento));
                int n = static_cast<int>(d.comprimento);
                while (n > 0 && s[n - 1] == ' ') --n;
                return Decodificar(s, n);
            }
            case SQL_VARYING: {
                unsigned short n = 0;
                std::memcpy(&n, p, 2);
                const char* s = reinterpret_cast<const char*>(p + 2);
                if (d.charset == kCsOctets) return QByteArray(s, n);
                return Decodificar(s, n);
            }
            case SQL_SHORT: {
                short v;
                std::memcpy(&v, p, 2);
                return escalar(v);
            }
            case SQL_LONG: {
                ISC_LONG v;
                std::memcpy(&v, p, 4);
                return escalar(v);
            }
            case SQL_INT64: {
                ISC_INT64 v;
                std::memcpy(&v, p, 8);
                return escalar(v);
            }
            case SQL_FLOAT: {
                float v;
                std::memcpy(&v, p, 4);
                return static_cast<double>(v);
            }
            case SQL_DOUBLE:
            case SQL_D_FLOAT: {
                double v;
                std::memcpy(&v, p, 8);
                return v;
            }
            case SQL_TYPE_DATE: {
                ISC_DATE v;
                std::memcpy(&v, p, 4);
                unsigned a, m, dd;
                util->decodeDate(v, &a, &m, &dd);
                return QDate(static_cast<int>(a), static_cast<int>(m), static_cast<int>(dd));
            }
            case SQL_TYPE_TIME: {
                ISC_TIME v;
                std::memcpy(&v, p, 4);
                unsigned h, mi, s, f;
                util->decodeTime(v, &h, &mi, &s, &f);
                return QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(f / 10));
            }
            case SQL_TIMESTAMP: {
                ISC_TIMESTAMP v;
                std::memcpy(&v, p, sizeof v);
                unsigned a, m, dd, h, mi, s, f;
                util->decodeDate(v.timestamp_date, &a, &m, &dd);
                util->decodeTime(v.timestamp_time, &h, &mi, &s, &f);
                return QDateTime(QDate(static_cast<int>(a), static_cast<int>(m), static_cast<int>(dd)),
                                 QTime(static_cast<int>(h), static_cast<int>(mi), static_cast<int>(s), static_cast<int>(f / 10)));
            }
            case SQL_BOOLEAN: return *reinterpret_cast<const FB_BOOLEAN*>(p) != FB_FALSE;
            case SQL_BLOB: {
                ISC_QUAD id;
                std::memcpy(&id, p, sizeof id);
                const QByteArray bytes = LerBlob(t, id, d);
                if (d.subtipo == 1) return Decodificar(bytes.constData(), static_cast<int>(bytes.size()));
                return bytes;
            }
            default: return QVariant();
        }
    }

    std::uint64_t Executar(const QString& sql, const TParams* params, bool contar) {
        ExigirConexao();
        st.init();
        TMonitorSql::Registrar(identificacao, sql, params);
        std::uint64_t linhas = 0;
        ComTransacao([&](ITransaction* t) {
            Comando* c = Preparar(sql, t);
            Buffer saida;
            unsigned char* dados = nullptr;
            IMessageMetadata* m = MontarEntrada(*c, params, t, dados);
            if (c->Cursor()) {
                IResultSet* rs = c->stmt->openCursor(&st, t, m, dados, nullptr, 0);
                Verificar(st);
                rs->close(&st);
                Verificar(st);
                return;
            }
            unsigned char* out = c->colunas.empty() ? nullptr : saida.Preparar(c->layoutSaida.comprimento);
            c->stmt->execute(&st, t, m, dados, c->colunas.empty() ? nullptr : c->saida, out);
            Verificar(st);
            if (contar && c->umaLinha) {
                linhas = 1;
            } else if (contar) {
                linhas = c->stmt->getAffectedRecords(&st);
                Verificar(st);
            }
        });
        return linhas;
    }

    void Consultar(const QString& sql, const TParams* params, TQuery& q) {
        q.Close();
        ExigirConexao();
        st.init();
        TMonitorSql::Registrar(identificacao, sql, params);
        ComTransacao([&](ITransaction* t) {
            Comando* c = Preparar(sql, t);
            Buffer saida;
            unsigned char* dados = nullptr;
            IMessageMetadata* m = MontarEntrada(*c, params, t, dados);
            std::vector<std::pair<QString, std::pair<TFieldType, int>>> campos;
            for (const ColunaSaida& col : c->colunas)
                campos.push_back({col.nome, {col.tipo, static_cast<int>(col.d.comprimento)}});
            q.DefinirCampos(campos);
            if (!c->Cursor()) {
                // A statement with output but no cursor (EXECUTE PROCEDURE,
                // RETURNING) gives its one row.
                unsigned char* out = c->colunas.empty() ? nullptr : saida.Preparar(c->layoutSaida.comprimento);
                c->stmt->execute(&st, t, m, dados, c->colunas.empty() ? nullptr : c->saida, out);
                Verificar(st);
                if (out) {
                    std::vector<QVariant> linha(c->colunas.size());
                    for (size_t i = 0; i < linha.size(); ++i) linha[i] = LerColuna(*c, i, out, t);
                    q.AdicionarLinha(std::move(linha));
                }
                return;
            }
            IResultSet* rs = c->stmt->openCursor(&st, t, m, dados, c->saida, 0);
            Verificar(st);
            try {
                unsigned char* out = saida.Preparar(c->layoutSaida.comprimento);
                for (;;) {
                    const int r = rs->fetchNext(&st, out);
                    Verificar(st);
                    if (r != IStatus::RESULT_OK) break;
                    std::vector<QVariant> linha(c->colunas.size());
                    for (size_t i = 0; i < linha.size(); ++i) linha[i] = LerColuna(*c, i, out, t);
                    q.AdicionarLinha(std::move(linha));
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
    d->LimparCache();
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
    d->transacao->commit(&d->st);
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
    const QByteArray texto = d->Codificar(sql);
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

int TConexaoFirebird::ComandosPreparados() const { return static_cast<int>(d->cache.size()); }

}  // namespace vesko
