#include "datapacket/ClientDataSet.h"

#include "base/Excecoes.h"
#include "datapacket/ConversaoCampo.h"
#include "datapacket/GravadorBinario.h"
#include "datapacket/LeitorBinario.h"
#include "datapacket/LeitorXml.h"
#include "platform/GravacaoAtomica.h"

#include <QBuffer>
#include <QCollator>
#include <QFile>
#include <algorithm>
#include <cmath>

namespace vesko {

using namespace pacote;
namespace cv = conversao;

namespace {

[[noreturn]] void Falhar(const QString& m) { throw EDBClient(m); }

}  // namespace

// ---------------------------------------------------------------- keys

namespace detalhe {

struct TChave {
    enum Classe : std::uint8_t { Nulo, Inteiro, SemSinal, Real, Texto, Bytes };
    Classe classe = Nulo;
    qint64 i = 0;
    quint64 u = 0;
    double d = 0;
    QString s;
    QByteArray b;
};

struct TIndice {
    QString nome;
    std::vector<int> campos;
    std::vector<char> descendente;
    std::vector<char> semCaixa;
    std::vector<std::int64_t> ordem;
    bool valido = false;
    std::shared_ptr<QCollator> colador;  // text order of the regional settings
};

std::shared_ptr<QCollator> NovoColador() {
    auto c = std::make_shared<QCollator>(QLocale());
    c->setCaseSensitivity(Qt::CaseSensitive);
    return c;
}

}  // namespace detalhe

static int Comparar3(const auto& a, const auto& b) { return a < b ? -1 : (b < a ? 1 : 0); }

static int CompararChave(const detalhe::TChave& a, const detalhe::TChave& b, bool prefixo = false,
                         const QCollator* colador = nullptr) {
    using C = detalhe::TChave;
    if (a.classe == C::Nulo || b.classe == C::Nulo) return Comparar3(a.classe != C::Nulo, b.classe != C::Nulo);
    switch (a.classe) {
    case C::Inteiro: return Comparar3(a.i, b.i);
    case C::SemSinal: return Comparar3(a.u, b.u);
    case C::Real: return Comparar3(a.d, b.d);
    case C::Texto:
        if (prefixo && a.s.startsWith(b.s)) return 0;
        if (colador) {
            if (const int c = Comparar3(colador->compare(a.s, b.s), 0)) return c;
        }
        return Comparar3(a.s.compare(b.s), 0);
    case C::Bytes: return Comparar3(a.b.compare(b.b), 0);
    case C::Nulo: break;
    }
    return 0;
}

// ---------------------------------------------------------------- TField

const QString& TField::FieldName() const { return Def().Name(); }
TFieldType TField::DataType() const { return Def().DataType(); }
int TField::Size() const { return Def().Size(); }
const TFieldDef& TField::Def() const { return m_ds->m_dados.campos[m_indice]; }
bool TField::Required() const { return Def().Required(); }
bool TField::IsBlob() const { return EhBlob(DataType()); }

bool TField::IsNull() const { return m_ds->Valor(m_indice).Nulo(); }
QString TField::AsString() const { return cv::ComoTexto(Def(), m_ds->Valor(m_indice), m_ds->TextoUtf8()); }
qint64 TField::AsLargeInt() const { return cv::ComoInteiro(Def(), m_ds->Valor(m_indice), m_ds->TextoUtf8()); }
qint32 TField::AsInteger() const {
    const qint64 v = AsLargeInt();
    if (v < std::numeric_limits<qint32>::min() || v > std::numeric_limits<qint32>::max())
        throw EConvertError(QStringLiteral("o valor %1 do campo '%2' não cabe num inteiro de 32 bits").arg(v).arg(FieldName()));
    return static_cast<qint32>(v);
}
double TField::AsFloat() const { return cv::ComoFloat(Def(), m_ds->Valor(m_indice), m_ds->TextoUtf8()); }
QDateTime TField::AsDateTime() const { return cv::ComoDataHora(Def(), m_ds->Valor(m_indice), m_ds->TextoUtf8()); }
QDate TField::AsDate() const { return AsDateTime().date(); }
QTime TField::AsTime() const { return AsDateTime().time(); }
bool TField::AsBoolean() const { return cv::ComoBooleano(Def(), m_ds->Valor(m_indice), m_ds->TextoUtf8()); }
QVariant TField::AsVariant() const { return cv::ComoVariant(Def(), m_ds->Valor(m_indice), m_ds->TextoUtf8()); }
QByteArray TField::AsBytes() const { return cv::ComoBytes(Def(), m_ds->Valor(m_indice)); }

void TField::SaveToStream(QIODevice& destino) const {
    const QByteArray b = AsBytes();
    if (destino.write(b) != b.size())
        throw EWriteError(QStringLiteral("erro ao gravar o campo '%1': %2").arg(FieldName(), destino.errorString()));
}

void TField::SetAsString(const QString& v) { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, cv::DeTexto(Def(), v, m_ds->TextoUtf8())); }
void TField::SetAsInteger(qint64 v) { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, cv::DeInteiro(Def(), v, m_ds->TextoUtf8())); }
void TField::SetAsFloat(double v) { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, cv::DeFloat(Def(), v, m_ds->TextoUtf8())); }
void TField::SetAsDateTime(const QDateTime& v) { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, cv::DeDataHora(Def(), v, m_ds->TextoUtf8())); }
void TField::SetAsDate(const QDate& v) { SetAsVariant(v); }
void TField::SetAsTime(const QTime& v) { SetAsVariant(v); }
void TField::SetAsBoolean(bool v) { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, cv::DeBooleano(Def(), v, m_ds->TextoUtf8())); }
void TField::SetAsVariant(const QVariant& v) { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, cv::DeVariant(Def(), v, m_ds->TextoUtf8())); }
void TField::SetAsBytes(const QByteArray& v) { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, cv::DeBytes(Def(), v, m_ds->TextoUtf8())); }
void TField::Clear() { m_ds->ExigirEdicao(m_indice); m_ds->Gravar(m_indice, std::nullopt); }

// ---------------------------------------------------------------- TClientDataSet

TClientDataSet::TClientDataSet() = default;
TClientDataSet::~TClientDataSet() = default;

TClientDataSet::TClientDataSet(TClientDataSet&& o) noexcept { *this = std::move(o); }

TClientDataSet& TClientDataSet::operator=(TClientDataSet&& o) noexcept {
    if (this == &o) return *this;
    m_dados = std::move(o.m_dados);
    m_layout = std::move(o.m_layout);
    m_campos = std::move(o.m_campos);
    m_porNome = std::move(o.m_porNome);
    m_estado = o.m_estado;
    m_pos = o.m_pos;
    m_eof = o.m_eof;
    m_bof = o.m_bof;
    m_buffer = std::move(o.m_buffer);
    m_linhaEditada = o.m_linhaEditada;
    m_indices = std::move(o.m_indices);
    m_indiceAtivo = o.m_indiceAtivo;
    m_nomeIndiceAtivo = std::move(o.m_nomeIndiceAtivo);
    m_autoIncLocal = o.m_autoIncLocal;
    m_proximoAutoInc = o.m_proximoAutoInc;
    m_cacheLinha = -1;
    m_cacheBase = nullptr;
    m_cacheValores.assign(m_layout.size(), TValor{});
    o.m_estado = dsInactive;
    o.m_indiceAtivo = nullptr;
    o.m_cacheLinha = -1;
    ReligarCampos();
    return *this;
}

void TClientDataSet::ReligarCampos() {
    for (auto& c : m_campos) c->m_ds = this;
}

void TClientDataSet::ExigirAtivo() const {
    if (!Active()) Falhar(QStringLiteral("o conjunto de dados está fechado"));
}

void TClientDataSet::ExigirEdicao(int campo) const {
    ExigirAtivo();
    if (m_estado != dsInsert && m_estado != dsEdit)
        Falhar(QStringLiteral("o conjunto de dados não está em modo de inclusão ou edição"));
    const TFieldDef& d = m_dados.campos[campo];
    if (cv::SomenteLeitura(d.DataType()))
        Falhar(QStringLiteral("o campo '%1' é do tipo %2, que este programa lê mas ainda não grava").arg(d.Name(), NomeTipoCampo(d.DataType())));
}

void TClientDataSet::PostarSeEditando() {
    if (m_estado == dsInsert || m_estado == dsEdit) Post();
}

void TClientDataSet::Montar(TDadosPacote dados) {
    m_dados = std::move(dados);
    m_layout = LayoutDe(m_dados.campos, m_dados.texto8Utf8);
    m_campos.clear();
    m_porNome.clear();
    for (int i = 0; i < m_dados.campos.Count(); ++i) {
        m_campos.push_back(std::unique_ptr<TField>(new TField(this, i)));
        const QString chave = m_dados.campos[i].Name().toCaseFolded();
        if (!m_porNome.contains(chave)) m_porNome.insert(chave, i);
    }
    m_indices.clear();
    m_indiceAtivo = nullptr;
    m_nomeIndiceAtivo.clear();
    m_buffer.clear();
    m_cacheLinha = -1;
    m_cacheBase = nullptr;
    m_cacheValores.assign(m_layout.size(), TValor{});
    m_estado = dsBrowse;
    First();
}

void TClientDataSet::CreateDataSet() {
    TDadosPacote d;
    d.campos = m_dados.campos;
    d.parametros = m_dados.parametros;
    if (d.campos.Count() == 0) Falhar(QStringLiteral("nenhum campo definido"));
    QHash<QString, int> nomes;
    bool autoInc = false;
    for (const TFieldDef& f : d.campos) {
        if (f.Name().isEmpty()) Falhar(QStringLiteral("campo sem nome"));
        if (nomes.contains(f.Name().toCaseFolded())) Falhar(QStringLiteral("nome de campo duplicado: '%1'").arg(f.Name()));
        nomes.insert(f.Name().toCaseFolded(), 1);
        if (f.Size() < 0 || f.Size() > 0xFFFF) Falhar(QStringLiteral("tamanho inválido (%1) no campo '%2'").arg(f.Size()).arg(f.Name()));
        if (f.DataType() == ftBytes && f.Size() == 0)
            Falhar(QStringLiteral("o campo '%1' precisa de um tamanho").arg(f.Name()));
        autoInc = autoInc || f.DataType() == ftAutoInc;
    }
    Montar(std::move(d));
    m_autoIncLocal = autoInc;
    m_proximoAutoInc = 1;
}

void TClientDataSet::Close() {
    TDadosPacote d;
    d.campos = std::move(m_dados.campos);
    m_dados = std::move(d);
    m_layout.clear();
    m_campos.clear();
    m_porNome.clear();
    m_indices.clear();
    m_indiceAtivo = nullptr;
    m_nomeIndiceAtivo.clear();
    m_buffer.clear();
    m_cacheLinha = -1;
    m_cacheBase = nullptr;
    m_estado = dsInactive;
    m_pos = 0;
    m_eof = m_bof = true;
    m_autoIncLocal = false;
    m_proximoAutoInc = 1;
}

void TClientDataSet::EmptyDataSet() {
    ExigirAtivo();
    m_dados.arena.clear();
    m_dados.linhas.clear();
    for (auto& ix : m_indices) { ix->ordem.clear(); ix->valido = true; }
    m_buffer.clear();
    m_cacheLinha = -1;
    m_estado = dsBrowse;
    First();
}

// ---------------------------------------------------------------- files

void TClientDataSet::LoadFromFile(const QString& caminho) {
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly))
        throw EFOpenError(QStringLiteral("não foi possível abrir o arquivo \"%1\": %2").arg(caminho, f.errorString()));
    QByteArray bytes;
    try {
        bytes = f.readAll();
    } catch (const std::bad_alloc&) {
        throw EDBClient(QStringLiteral("memória insuficiente para ler o arquivo"));
    }
    if (f.error() != QFileDevice::NoError)
        throw EReadError(QStringLiteral("erro ao ler o arquivo \"%1\": %2").arg(caminho, f.errorString()));
    LoadFromBytes(std::move(bytes));
}

void TClientDataSet::LoadFromBytes(QByteArray bytes) {
    TDadosPacote dados;
    try {
        if (TLeitorPacoteBinario::Reconhece(bytes))
            dados = TLeitorPacoteBinario::Ler(std::move(bytes));
        else if (TLeitorPacoteXml::Reconhece(bytes))
            dados = TLeitorPacoteXml::Ler(bytes);
        else
            Falhar(QStringLiteral("não é um pacote de dados"));
    } catch (const Exception&) {
        throw;
    } catch (const std::bad_alloc&) {
        throw EDBClient(QStringLiteral("memória insuficiente para ler o pacote"));
    } catch (const std::exception& e) {
        throw EDBClient(QStringLiteral("erro ao ler o pacote: %1").arg(QString::fromLocal8Bit(e.what())));
    }
    const bool reordenar = dados.deRegistroDeAlteracoes;
    Montar(std::move(dados));
    const auto autoInc = m_dados.parametros.Integer(QStringLiteral("AUTOINCVALUE"));
    m_autoIncLocal = autoInc.has_value();
    m_proximoAutoInc = autoInc.value_or(1);
    if (reordenar && m_dados.parametros.Contains(QStringLiteral("DEFAULT_ORDER"))) {
        m_dados.linhas = OrdemParaGravar();
        First();
    }
}

void TClientDataSet::PrepararParametrosDeGravacao() {
    if (!m_autoIncLocal) return;
    TPacketParams& p = m_dados.parametros;
    const QString nome = QStringLiteral("AUTOINCVALUE");
    qint64 proximo = std::max<qint64>(m_proximoAutoInc, p.Integer(nome).value_or(1));
    proximo = std::min<qint64>(proximo, std::numeric_limits<qint32>::max());
    if (p.Contains(nome)) {
        p.SetInteger(nome, static_cast<qint32>(proximo));
        return;
    }
    int pos = 0;
    for (const char* antes : {"DEFAULT_ORDER", "PRIMARY_KEY", "UNIQUE_KEY"})
        pos = std::max(pos, p.Find(QString::fromLatin1(antes)) + 1);
    TPacketParams novo;
    novo.SetInteger(nome, static_cast<qint32>(proximo));
    p.Insert(pos, novo.List().front());
}

std::vector<std::int64_t> TClientDataSet::OrdemParaGravar() {
    const QList<qint64> ordem = m_dados.parametros.Array(QStringLiteral("DEFAULT_ORDER"));
    if (ordem.isEmpty()) return m_dados.linhas;
    TIndice ix;
    ix.colador = detalhe::NovoColador();
    for (qint64 e : ordem) {
        const int campo = static_cast<int>(e & 0x3FFF) - 1;
        if (campo < 0 || campo >= FieldCount()) return m_dados.linhas;  // not a usable order
        ix.campos.push_back(campo);
        ix.descendente.push_back((e & 0x8000) != 0);
        ix.semCaixa.push_back((e & 0x4000) != 0);
    }
    const auto& linhas = m_dados.linhas;
    bool ordenado = true;
    for (std::size_t i = 1; i < linhas.size() && ordenado; ++i) ordenado = Comparar(ix, linhas[i - 1], linhas[i]) <= 0;
    if (ordenado) return linhas;
    ix.ordem = linhas;
    Ordenar(ix);
    return ix.ordem;
}

void TClientDataSet::SaveToStream(QIODevice& destino) {
    ExigirAtivo();
    PostarSeEditando();
    PrepararParametrosDeGravacao();
    TGravadorPacoteBinario::Gravar(m_dados, OrdemParaGravar(), destino);
}

void TClientDataSet::SaveToFile(const QString& caminho) {
    ExigirAtivo();
    TGravadorPacoteBinario::VerificarCampos(m_dados.campos);
    GravarArquivoAtomico(caminho, [this](QIODevice& f) { SaveToStream(f); });
}

QByteArray TClientDataSet::SaveToBytes() {
    QByteArray r;
    r.reserve(m_dados.arena.size() + 65536);  // rows take about what they take in memory
    QBuffer b(&r);
    b.open(QIODevice::WriteOnly);
    SaveToStream(b);
    return r;
}

// ---------------------------------------------------------------- fields

TField& TClientDataSet::Fields(int i) {
    if (i < 0 || i >= FieldCount()) Falhar(QStringLiteral("índice de campo inválido: %1").arg(i));
    return *m_campos[static_cast<std::size_t>(i)];
}

TField* TClientDataSet::FindField(const QString& nome) {
    const int i = m_porNome.value(nome.toCaseFolded(), -1);
    return i < 0 ? nullptr : m_campos[static_cast<std::size_t>(i)].get();
}

TField& TClientDataSet::FieldByName(const QString& nome) {
    if (TField* f = FindField(nome)) return *f;
    Falhar(QStringLiteral("campo '%1' não encontrado").arg(nome));
}

std::vector<int> TClientDataSet::CamposDe(const QString& lista) const {
    std::vector<int> r;
    for (const QString& parte : lista.split(u';', Qt::SkipEmptyParts)) {
        const QString nome = parte.trimmed();
        const int i = m_porNome.value(nome.toCaseFolded(), -1);
        if (i < 0) Falhar(QStringLiteral("campo '%1' não encontrado").arg(nome));
        r.push_back(i);
    }
    if (r.empty()) Falhar(QStringLiteral("nenhum campo indicado"));
    return r;
}

// ---------------------------------------------------------------- values

const std::vector<std::int64_t>& TClientDataSet::Visao() const { return m_indiceAtivo ? m_indiceAtivo->ordem : m_dados.linhas; }
std::vector<std::int64_t>& TClientDataSet::Visao() { return m_indiceAtivo ? m_indiceAtivo->ordem : m_dados.linhas; }

std::int64_t TClientDataSet::LinhaAtual() const {
    const auto& v = Visao();
    return (m_estado != dsInactive && m_pos >= 0 && m_pos < static_cast<qint64>(v.size())) ? v[static_cast<std::size_t>(m_pos)] : -1;
}

TValor TClientDataSet::ValorNaLinha(std::int64_t linha, int campo) const {
    const char* base = m_dados.arena.constData();
    if (linha != m_cacheLinha || base != m_cacheBase || m_cacheValores.size() != m_layout.size()) {
        m_cacheValores.resize(m_layout.size());
        LocalizarValores(base + linha, m_layout, m_cacheValores.data());
        m_cacheLinha = linha;
        m_cacheBase = base;
    }
    return m_cacheValores[static_cast<std::size_t>(campo)];
}

TValor TClientDataSet::Valor(int campo) const {
    if (m_estado == dsInsert || m_estado == dsEdit) {
        const auto& b = m_buffer[static_cast<std::size_t>(campo)];
        return b ? TValor{b->constData(), b->size()} : TValor{};
    }
    const std::int64_t linha = LinhaAtual();
    return linha < 0 ? TValor{} : ValorNaLinha(linha, campo);
}

void TClientDataSet::Gravar(int campo, std::optional<QByteArray> valor) {
    m_buffer[static_cast<std::size_t>(campo)] = std::move(valor);
}

// ---------------------------------------------------------------- cursor

qint64 TClientDataSet::RecordCount() const { return Active() ? static_cast<qint64>(Visao().size()) : 0; }

qint64 TClientDataSet::RecNo() const { return LinhaAtual() < 0 ? 0 : m_pos + 1; }

void TClientDataSet::First() {
    ExigirAtivo();
    PostarSeEditando();
    m_pos = 0;
    m_bof = true;
    m_eof = Visao().empty();
}

void TClientDataSet::Next() {
    ExigirAtivo();
    PostarSeEditando();
    if (m_pos + 1 < static_cast<qint64>(Visao().size())) {
        ++m_pos;
        m_bof = m_eof = false;
    } else {
        m_eof = true;
    }
}

void TClientDataSet::Prior() {
    ExigirAtivo();
    PostarSeEditando();
    if (m_pos > 0 && !Visao().empty()) {
        --m_pos;
        m_bof = m_eof = false;
    } else {
        m_bof = true;
    }
}

void TClientDataSet::Last() {
    ExigirAtivo();
    PostarSeEditando();
    const auto n = static_cast<qint64>(Visao().size());
    m_pos = n ? n - 1 : 0;
    m_eof = true;
    m_bof = n == 0;
}

// ---------------------------------------------------------------- editing

void TClientDataSet::Append() {
    ExigirAtivo();
    PostarSeEditando();
    m_buffer.assign(m_layout.size(), std::nullopt);
    m_linhaEditada = -1;
    m_estado = dsInsert;
}

void TClientDataSet::Edit() {
    ExigirAtivo();
    PostarSeEditando();
    const std::int64_t linha = LinhaAtual();
    if (linha < 0) Falhar(QStringLiteral("não há registro para editar"));
    m_buffer.assign(m_layout.size(), std::nullopt);
    for (std::size_t k = 0; k < m_layout.size(); ++k) {
        const TValor v = ValorNaLinha(linha, static_cast<int>(k));
        if (!v.Nulo()) m_buffer[k] = QByteArray(v.p, v.n);
    }
    m_linhaEditada = linha;
    m_estado = dsEdit;
}

void TClientDataSet::Cancel() {
    if (m_estado != dsInsert && m_estado != dsEdit) return;
    m_buffer.clear();
    m_estado = dsBrowse;
}

void TClientDataSet::Post() {
    if (m_estado != dsInsert && m_estado != dsEdit) return;
    for (int k = 0; k < FieldCount(); ++k) {
        const TFieldDef& d = m_dados.campos[k];
        auto& b = m_buffer[static_cast<std::size_t>(k)];
        if (d.DataType() == ftAutoInc) {
            if (!b && m_autoIncLocal && m_estado == dsInsert) b = cv::DeInteiro(d, m_proximoAutoInc, false);
            if (b) m_proximoAutoInc = std::max<qint64>(m_proximoAutoInc, LerComSinal(b->constData(), 4) + 1);
        }
        if (!b && d.Required()) Falhar(QStringLiteral("o campo '%1' precisa de um valor").arg(d.Name()));
    }
    std::vector<TValor> valores(m_layout.size());
    for (std::size_t k = 0; k < m_layout.size(); ++k)
        if (m_buffer[k]) valores[k] = {m_buffer[k]->constData(), m_buffer[k]->size()};
    const std::int64_t nova = m_dados.arena.size();
    AnexarRegistro(m_dados.arena, m_layout, valores.data());

    auto& natural = m_dados.linhas;
    if (m_estado == dsEdit) {
        std::replace(natural.begin(), natural.end(), m_linhaEditada, nova);
    } else {
        natural.push_back(nova);
    }
    for (auto& ix : m_indices)
        if (ix.get() != m_indiceAtivo) ix->valido = false;
    if (m_indiceAtivo) {
        auto& ordem = m_indiceAtivo->ordem;
        if (m_estado == dsEdit) ordem.erase(ordem.begin() + m_pos);
        const auto pos = std::upper_bound(ordem.begin(), ordem.end(), nova,
                                          [&](std::int64_t a, std::int64_t b) { return Comparar(*m_indiceAtivo, a, b) < 0; });
        m_pos = pos - ordem.begin();
        ordem.insert(pos, nova);
    } else if (m_estado == dsInsert) {
        m_pos = static_cast<qint64>(natural.size()) - 1;
    }
    m_buffer.clear();
    m_estado = dsBrowse;
    m_eof = m_bof = false;
}

void TClientDataSet::Delete() {
    ExigirAtivo();
    if (m_estado == dsInsert) { Cancel(); return; }
    if (m_estado == dsEdit) Cancel();
    const std::int64_t linha = LinhaAtual();
    if (linha < 0) Falhar(QStringLiteral("não há registro para excluir"));
    auto& natural = m_dados.linhas;
    natural.erase(std::find(natural.begin(), natural.end(), linha));
    for (auto& ix : m_indices)
        if (ix.get() != m_indiceAtivo) ix->valido = false;
    if (m_indiceAtivo) m_indiceAtivo->ordem.erase(m_indiceAtivo->ordem.begin() + m_pos);
    const auto n = static_cast<qint64>(Visao().size());
    if (m_pos >= n) m_pos = n ? n - 1 : 0;
    m_eof = n == 0 || m_eof;
    m_bof = n == 0;
}

// ---------------------------------------------------------------- search

TClientDataSet::TChave TClientDataSet::ChaveDaLinha(std::int64_t linha, int campo, bool semCaixa) const {
    TChave c;
    const TValor v = ValorNaLinha(linha, campo);
    if (v.Nulo()) return c;
    const TFieldDef& d = m_dados.campos[campo];
    const TFieldType t = d.DataType();
    if (t == ftLargeUInt) {
        c.classe = TChave::SemSinal;
        c.u = LerSemSinal(v.p, 8);
    } else if (EhInteiro(t) || t == ftBoolean) {
        c.classe = TChave::Inteiro;
        c.i = cv::ComoInteiro(d, v, TextoUtf8());
    } else if (EhFlutuante(t) || EhDecimal(t) || t == ftDate || t == ftTime || t == ftDateTime || t == ftTimeStamp ||
               t == ftTimeStampOffset) {
        c.classe = TChave::Real;
        c.d = cv::ComoFloat(d, v, TextoUtf8());
    } else if (EhTexto8(t) || EhTextoLargo(t) || EhMemo(t)) {
        c.classe = TChave::Texto;
        c.s = cv::ComoTexto(d, v, TextoUtf8());
        if (semCaixa) c.s = c.s.toCaseFolded();
    } else {
        c.classe = TChave::Bytes;
        c.b = QByteArray(v.p, v.n);
    }
    return c;
}

TClientDataSet::TChave TClientDataSet::ChaveDoValor(int campo, const QVariant& valor, bool semCaixa) const {
    TChave c;
    if (!valor.isValid() || valor.isNull()) return c;
    const TFieldDef& d = m_dados.campos[campo];
    const TFieldType t = d.DataType();
    if (EhTexto8(t) || EhTextoLargo(t) || EhMemo(t)) {
        c.classe = TChave::Texto;
        c.s = valor.toString();
        if (semCaixa) c.s = c.s.toCaseFolded();
        return c;
    }
    // Any other value goes through the field's own conversion, then reads back
    // as a stored value would.
    TFieldDef def = d;
    if (cv::SomenteLeitura(t)) def = TFieldDef(d.Name(), ftFloat);
    const cv::TCarga carga = cv::DeVariant(def, valor, TextoUtf8());
    if (!carga) return c;
    const TValor v{carga->constData(), carga->size()};
    const TFieldType tt = def.DataType();
    if (tt == ftLargeUInt) {
        c.classe = TChave::SemSinal;
        c.u = LerSemSinal(v.p, 8);
    } else if (EhInteiro(tt) || tt == ftBoolean) {
        c.classe = TChave::Inteiro;
        c.i = cv::ComoInteiro(def, v, TextoUtf8());
    } else if (EhFlutuante(tt) || tt == ftDate || tt == ftTime || tt == ftDateTime) {
        c.classe = TChave::Real;
        c.d = cv::ComoFloat(def, v, TextoUtf8());
    } else {
        c.classe = TChave::Bytes;
        c.b = *carga;
    }
    return c;
}

int TClientDataSet::Comparar(const TIndice& ix, std::int64_t a, std::int64_t b) const {
    for (std::size_t k = 0; k < ix.campos.size(); ++k) {
        const TChave ca = ChaveDaLinha(a, ix.campos[k], ix.semCaixa[k]);
        const TChave cb = ChaveDaLinha(b, ix.campos[k], ix.semCaixa[k]);
        int c = CompararChave(ca, cb, false, ix.colador.get());
        if (ix.descendente[k]) c = -c;
        if (c) return c;
    }
    return 0;
}

void TClientDataSet::Ordenar(TIndice& ix) {
    auto& ordem = ix.ordem;
    const std::size_t n = ordem.size(), f = ix.campos.size();
    std::vector<TChave> chaves(n * f);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < f; ++k) chaves[i * f + k] = ChaveDaLinha(ordem[i], ix.campos[k], ix.semCaixa[k]);
    std::vector<std::size_t> pos(n);
    for (std::size_t i = 0; i < n; ++i) pos[i] = i;
    std::stable_sort(pos.begin(), pos.end(), [&](std::size_t a, std::size_t b) {
        for (std::size_t k = 0; k < f; ++k) {
            int c = CompararChave(chaves[a * f + k], chaves[b * f + k], false, ix.colador.get());
            if (ix.descendente[k]) c = -c;
            if (c) return c < 0;
        }
        return false;
    });
    std::vector<std::int64_t> nova(n);
    for (std::size_t i = 0; i < n; ++i) nova[i] = ordem[pos[i]];
    ordem = std::move(nova);
    ix.valido = true;
}

bool TClientDataSet::Locate(const QString& campos, const QVariant& valores, TLocateOptions opcoes) {
    ExigirAtivo();
    PostarSeEditando();
    const std::vector<int> cs = CamposDe(campos);
    const QVariantList lista = valores.typeId() == QMetaType::QVariantList ? valores.toList() : QVariantList{valores};
    if (static_cast<std::size_t>(lista.size()) != cs.size())
        Falhar(QStringLiteral("a busca indica %1 campos e %2 valores").arg(cs.size()).arg(lista.size()));
    const bool semCaixa = opcoes & loCaseInsensitive, parcial = opcoes & loPartialKey;
    std::vector<TChave> chaves;
    for (std::size_t k = 0; k < cs.size(); ++k) chaves.push_back(ChaveDoValor(cs[k], lista[static_cast<qsizetype>(k)], semCaixa));
    const auto& v = Visao();
    for (std::size_t i = 0; i < v.size(); ++i) {
        bool igual = true;
        for (std::size_t k = 0; k < cs.size() && igual; ++k)
            igual = CompararChave(ChaveDaLinha(v[i], cs[k], semCaixa), chaves[k], parcial) == 0;
        if (igual) {
            m_pos = static_cast<qint64>(i);
            m_eof = m_bof = false;
            return true;
        }
    }
    return false;
}

void TClientDataSet::AddIndex(const QString& nome, const QString& campos, TIndexOptions opcoes) {
    ExigirAtivo();
    for (const auto& ix : m_indices)
        if (ix->nome.compare(nome, Qt::CaseInsensitive) == 0) Falhar(QStringLiteral("índice '%1' já existe").arg(nome));
    auto ix = std::make_unique<TIndice>();
    ix->nome = nome;
    ix->campos = CamposDe(campos);
    ix->descendente.assign(ix->campos.size(), (opcoes & ixDescending) != 0);
    ix->semCaixa.assign(ix->campos.size(), (opcoes & ixCaseInsensitive) != 0);
    ix->colador = detalhe::NovoColador();
    m_indices.push_back(std::move(ix));
}

void TClientDataSet::SetIndexName(const QString& nome) {
    ExigirAtivo();
    PostarSeEditando();
    const std::int64_t atual = LinhaAtual();
    TIndice* novo = nullptr;
    if (!nome.isEmpty()) {
        for (const auto& ix : m_indices)
            if (ix->nome.compare(nome, Qt::CaseInsensitive) == 0) novo = ix.get();
        if (!novo) Falhar(QStringLiteral("índice '%1' não encontrado").arg(nome));
        if (!novo->valido) {
            novo->ordem = m_dados.linhas;
            Ordenar(*novo);
        }
    }
    m_indiceAtivo = novo;
    m_nomeIndiceAtivo = novo ? novo->nome : QString();
    const auto& v = Visao();
    const auto it = std::find(v.begin(), v.end(), atual);
    if (atual >= 0 && it != v.end()) {
        m_pos = it - v.begin();
        m_eof = m_bof = false;
    } else {
        First();
    }
}

void TClientDataSet::SetIndexFieldNames(const QString& campos) {
    if (campos.trimmed().isEmpty()) {
        SetIndexName(QString());
        return;
    }
    const QString nome = QStringLiteral("<%1>").arg(campos);
    bool existe = false;
    for (const auto& ix : m_indices) existe = existe || ix->nome.compare(nome, Qt::CaseInsensitive) == 0;
    if (!existe) AddIndex(nome, campos);
    SetIndexName(nome);
}

bool TClientDataSet::FindKey(const QVariantList& valores) {
    ExigirAtivo();
    PostarSeEditando();
    if (!m_indiceAtivo) Falhar(QStringLiteral("nenhum índice ativo para a busca por chave"));
    const TIndice& ix = *m_indiceAtivo;
    if (valores.isEmpty() || static_cast<std::size_t>(valores.size()) > ix.campos.size())
        Falhar(QStringLiteral("a busca por chave indica %1 valores para um índice de %2 campos").arg(valores.size()).arg(ix.campos.size()));
    std::vector<TChave> chaves;
    for (qsizetype k = 0; k < valores.size(); ++k)
        chaves.push_back(ChaveDoValor(ix.campos[static_cast<std::size_t>(k)], valores[k], ix.semCaixa[static_cast<std::size_t>(k)]));
    auto comparar = [&](std::int64_t linha) {
        for (std::size_t k = 0; k < chaves.size(); ++k) {
            int c = CompararChave(ChaveDaLinha(linha, ix.campos[k], ix.semCaixa[k]), chaves[k], false, ix.colador.get());
            if (ix.descendente[k]) c = -c;
            if (c) return c;
        }
        return 0;
    };
    const auto& v = ix.ordem;
    const auto it = std::partition_point(v.begin(), v.end(), [&](std::int64_t linha) { return comparar(linha) < 0; });
    if (it == v.end() || comparar(*it) != 0) return false;
    m_pos = it - v.begin();
    m_eof = m_bof = false;
    return true;
}

}  // namespace vesko
