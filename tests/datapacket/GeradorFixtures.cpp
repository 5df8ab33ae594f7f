#include "GeradorFixtures.h"

#include "datapacket/ClientDataSet.h"
#include "datapacket/FormatoPacote.h"

#include <QDate>
#include <QDateTime>
#include <QMap>
#include <QTime>
#include <QVariant>
#include <algorithm>
#include <optional>
#include <stdexcept>

namespace vesko::teste {

using namespace pacote;

namespace {

constexpr qint32 kLcidBrasil = 1046;

QString T(const char* utf8) { return QString::fromUtf8(utf8); }

QDateTime Momento(int ano, int mes, int dia, int h, int m, int s = 0, int ms = 0) {
    return QDateTime(QDate(ano, mes, dia), QTime(h, m, s, ms), Qt::UTC);
}

// Numbers for the longer tables, the same on every machine and compiler.
class TSequencia {
public:
    explicit TSequencia(std::uint32_t semente) : m_x(semente) {}
    int Ate(int n) {
        m_x = m_x * 1664525u + 1013904223u;
        return static_cast<int>((m_x >> 8) % static_cast<std::uint32_t>(n));
    }

private:
    std::uint32_t m_x;
};

void AnexarLE(QByteArray& b, int n, std::uint64_t v) {
    char t[8] = {};
    GravarLE(t, n, v);
    b.append(t, n);
}

void AnexarBE32(QByteArray& b, std::uint32_t v) {
    for (int i = 3; i >= 0; --i) b.append(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// Appends one row; an invalid QVariant leaves the field null.
void Linha(TClientDataSet& ds, const QVariantList& valores) {
    ds.Append();
    for (int i = 0; i < valores.size(); ++i)
        if (valores[i].isValid()) ds.Fields(i).SetAsVariant(valores[i]);
    ds.Post();
}

// ------------------------------------------------------------------ pictures

// A 24-bit BMP: a frame and diagonal stripes of `traco` (0xRRGGBB) on `fundo`.
QByteArray Bmp(int largura, int altura, std::uint32_t fundo, std::uint32_t traco) {
    const int linha = (largura * 3 + 3) & ~3;
    QByteArray b("BM");
    AnexarLE(b, 4, static_cast<std::uint64_t>(54 + linha * altura));
    AnexarLE(b, 4, 0);
    AnexarLE(b, 4, 54);
    AnexarLE(b, 4, 40);
    AnexarLE(b, 4, static_cast<std::uint64_t>(largura));
    AnexarLE(b, 4, static_cast<std::uint64_t>(altura));
    AnexarLE(b, 2, 1);
    AnexarLE(b, 2, 24);
    AnexarLE(b, 4, 0);
    AnexarLE(b, 4, static_cast<std::uint64_t>(linha * altura));
    AnexarLE(b, 4, 2835);
    AnexarLE(b, 4, 2835);
    AnexarLE(b, 4, 0);
    AnexarLE(b, 4, 0);
    for (int y = 0; y < altura; ++y) {
        for (int x = 0; x < largura; ++x) {
            const bool risco = x == 0 || y == 0 || x == largura - 1 || y == altura - 1 || (x + y) % 7 == 0;
            AnexarLE(b, 3, risco ? traco : fundo);  // blue, green, red
        }
        b.append(QByteArray(linha - largura * 3, '\0'));
    }
    return b;
}

// A picture as a graphic field holds it: 01 00 00 01, its size, the picture.
QByteArray Grafico(const QByteArray& imagem) {
    QByteArray b("\x01\x00\x00\x01", 4);
    AnexarLE(b, 4, static_cast<std::uint64_t>(imagem.size()));
    return b + imagem;
}

std::uint32_t Crc32(const QByteArray& b) {
    std::uint32_t c = 0xFFFFFFFFu;
    for (char ch : b) {
        c ^= static_cast<unsigned char>(ch);
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return ~c;
}

void AnexarBlocoPng(QByteArray& png, const char* tipo, const QByteArray& dados) {
    AnexarBE32(png, static_cast<std::uint32_t>(dados.size()));
    const QByteArray corpo = QByteArray(tipo) + dados;
    png += corpo;
    AnexarBE32(png, Crc32(corpo));
}

// A 16×16 RGB PNG icon: a disc of `cor` on white. The pixels go in one stored
// (uncompressed) deflate block, so the bytes owe nothing to a zlib version.
QByteArray Png(std::uint32_t cor, int raio) {
    constexpr int kLado = 16;
    QByteArray cru;
    for (int y = 0; y < kLado; ++y) {
        cru.append('\0');  // filter: none
        for (int x = 0; x < kLado; ++x) {
            const bool dentro = (2 * x - 15) * (2 * x - 15) + (2 * y - 15) * (2 * y - 15) <= 4 * raio * raio;
            const std::uint32_t c = dentro ? cor : 0xFFFFFFu;
            cru.append(static_cast<char>(c >> 16)).append(static_cast<char>(c >> 8)).append(static_cast<char>(c));
        }
    }
    QByteArray zlib("\x78\x01\x01", 3);
    AnexarLE(zlib, 2, static_cast<std::uint64_t>(cru.size()));
    AnexarLE(zlib, 2, ~static_cast<std::uint64_t>(cru.size()) & 0xFFFF);
    zlib += cru;
    std::uint32_t a = 1, s = 0;
    for (char ch : cru) {
        a = (a + static_cast<unsigned char>(ch)) % 65521u;
        s = (s + a) % 65521u;
    }
    AnexarBE32(zlib, (s << 16) | a);

    QByteArray cabecalho;
    AnexarBE32(cabecalho, kLado);
    AnexarBE32(cabecalho, kLado);
    cabecalho.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB
    QByteArray png("\x89PNG\r\n\x1A\n", 8);
    AnexarBlocoPng(png, "IHDR", cabecalho);
    AnexarBlocoPng(png, "IDAT", zlib);
    AnexarBlocoPng(png, "IEND", {});
    return png;
}

// ---------------------------------------------------------------- change log

// The records of a dataset that logs its edits, as it writes them: every
// insert and every modification adds a record, a modified version points back
// at the one it replaces (which gets the "original" bit), a delete marks the
// record it removes. Originals are rows that were there before the edits
// began: status 0, no log entry.
class TLogDeAlteracoes {
public:
    using TValores = QList<std::optional<QVariant>>;  // nullopt: no bytes, "not changed" bits
    enum TForma { SoMudancas, Completo };             // what a modified version stores

    explicit TLogDeAlteracoes(TForma forma) : m_forma(forma) {}

    int Original(const QVariantList& valores) {
        TValores v;
        for (const QVariant& x : valores) v << x;
        return NovaLinha(0, v);
    }

    int Inserir(const TValores& valores) {
        const int linha = NovaLinha(kStatusInserido, valores);
        m_log << static_cast<std::uint32_t>(m_registros.size()) << 0 << kStatusInserido;
        return linha;
    }

    void Modificar(int linha, const QMap<int, QVariant>& mudancas) {
        const int anterior = m_atual[linha];
        const auto status = static_cast<std::uint8_t>(kStatusModificado | (m_registros[anterior].status & kStatusInserido));
        m_registros[anterior].status |= kStatusOriginal;
        TValores novos;
        for (int k = 0; k < m_valores[linha].size(); ++k) {
            if (mudancas.contains(k)) {
                m_valores[linha][k] = mudancas[k];
                novos << mudancas[k];
            } else if (m_forma == Completo) {
                novos << m_valores[linha][k];
            } else {
                novos << std::nullopt;
            }
        }
        m_registros.append({status, novos});
        m_atual[linha] = static_cast<int>(m_registros.size()) - 1;
        m_log << static_cast<std::uint32_t>(m_registros.size()) << static_cast<std::uint32_t>(anterior + 1) << kStatusModificado;
    }

    void Excluir(int linha) {
        m_registros[m_atual[linha]].status |= kStatusExcluido;
        m_log << static_cast<std::uint32_t>(m_atual[linha] + 1) << 0 << kStatusExcluido;
    }

    QVariant Valor(int linha, int campo) const { return m_valores[linha][campo]; }

    // The packet: the fields and parameters defined in `ds` (not yet
    // created), then CHANGE_LOG and, with an auto-increment field,
    // AUTOINCVALUE, then every record.
    QByteArray Gravar(TClientDataSet& ds) const {
        QByteArray log;
        AnexarLE(log, 4, static_cast<std::uint64_t>(m_log.size()));
        for (std::uint32_t x : m_log) AnexarLE(log, 4, x);
        ds.Params().Set({"CHANGE_LOG", Palavra(cSemSinal, 4, kArray), log});
        for (int k = 0; k < ds.FieldDefs().Count(); ++k) {
            if (ds.FieldDefs()[k].DataType() != ftAutoInc) continue;
            qint64 maior = 0;
            for (const TRegistro& r : m_registros) {
                // the dataset would number an absent value itself
                if (!r.valores[k] || !r.valores[k]->isValid()) throw std::logic_error("registro sem auto-incremento");
                maior = std::max(maior, r.valores[k]->toLongLong());
            }
            ds.Params().SetInteger(QStringLiteral("AUTOINCVALUE"), static_cast<qint32>(maior + 1));
        }
        ds.CreateDataSet();
        for (const TRegistro& r : m_registros) {
            ds.Append();
            for (int k = 0; k < r.valores.size(); ++k)
                if (r.valores[k] && r.valores[k]->isValid()) ds.Fields(k).SetAsVariant(*r.valores[k]);
            ds.Post();
        }
        QByteArray b = ds.SaveToBytes();

        // The writer wrote each record as a current row (status 0, absent
        // values null); give it its status and its "not changed" bits.
        if (!(LerSemSinal(b.constData() + 18, 4) & kPropOffsetDados)) throw std::logic_error("sem início dos registros");
        const TLayout layout = LayoutDe(ds.FieldDefs());
        qint64 p = static_cast<qint64>(LerSemSinal(b.constData() + 22, 2));
        for (const TRegistro& r : m_registros) {
            char* reg = b.data() + p;
            reg[0] = static_cast<char>(r.status);
            for (int k = 0; k < r.valores.size(); ++k) {
                if (r.valores[k]) continue;
                char& bits = reg[1 + k / 4];
                const int desloc = 2 * (k % 4);
                bits = static_cast<char>((bits & ~(3 << desloc)) | (2 << desloc));
            }
            p = PularRegistro(reg, layout) - b.constData();
        }
        if (p != b.size()) throw std::logic_error("registros não conferem");
        return b;
    }

private:
    struct TRegistro {
        std::uint8_t status;
        TValores valores;
    };

    int NovaLinha(std::uint8_t status, const TValores& valores) {
        m_registros.append({status, valores});
        m_atual.append(static_cast<int>(m_registros.size()) - 1);
        QVariantList atuais;
        for (const auto& v : valores) atuais << v.value_or(QVariant());
        m_valores.append(atuais);
        return static_cast<int>(m_atual.size()) - 1;
    }

    TForma m_forma;
    QList<TRegistro> m_registros;
    QList<int> m_atual;             // per row: its current record
    QList<QVariantList> m_valores;  // per row: its current values
    QList<std::uint32_t> m_log;
};

// ------------------------------------------------------------------ fixtures

// Small table: int16 codes (negative and the largest), short strings that
// fill their width, LCID only.
QByteArray Grupos() {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("CodGrupo", ftSmallint);
    f.Add("Sigla", ftString, 5);
    f.Add("Nome", ftString, 20);
    ds.Params().SetInteger(QStringLiteral("LCID"), kLcidBrasil);
    ds.CreateDataSet();
    Linha(ds, {10, "BEB", T("Bebidas")});
    Linha(ds, {20, "LANCH", T("Lanches")});
    Linha(ds, {30, "PRATO", T("Pratos executivos")});
    Linha(ds, {40, "SOBRE", T("Sobremesas")});
    Linha(ds, {50, "SALG", T("Salgados")});
    Linha(ds, {32767, "DIV", T("Diversos")});
    Linha(ds, {-1, "TAXA", T("Taxas e serviços")});
    return ds.SaveToBytes();
}

// The binary twin of produtos.xml: strings in Windows-1252 (accents, the en
// dash 0x96), an empty string, doubles and money, Boolean, date, date-time
// with and without a time part, nulls, a required key, DEFAULT_ORDER,
// PRIMARY_KEY and LCID.
QByteArray Produtos() {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("Codigo", ftInteger, 0, true);
    f.Add("Descricao", ftString, 40);
    f.Add("Grupo", ftSmallint);
    f.Add("Unidade", ftString, 2);
    f.Add("Preco", ftCurrency);
    f.Add("Custo", ftFloat);
    f.Add("PesoKg", ftFloat);
    f.Add("Ativo", ftBoolean);
    f.Add("Cadastro", ftDate);
    f.Add("UltimaVenda", ftDateTime);
    ds.Params().SetFieldList(QStringLiteral("DEFAULT_ORDER"), {1});
    ds.Params().SetFieldList(QStringLiteral("PRIMARY_KEY"), {1});
    ds.Params().SetInteger(QStringLiteral("LCID"), kLcidBrasil);
    ds.CreateDataSet();
    const QVariant nulo;
    Linha(ds, {1001, T("Pão de queijo"), 50, "UN", 4.5, 1.85, 0.05, true, QDate(2024, 3, 1), Momento(2026, 12, 5, 18, 42, 10, 250)});
    Linha(ds, {1002, T("Coxinha & catupiry"), 50, "UN", 7.0, 2.4, 0.12, true, QDate(2024, 3, 1), Momento(2026, 12, 6, 12, 5)});
    Linha(ds, {1003, T("Água mineral – 500 ml"), 10, "UN", 3.5, 1.1, 0.5, true, QDate(2024, 3, 2), Momento(2026, 12, 6, 20, 15, 30)});
    Linha(ds, {1004, T("Café expresso"), 10, "XC", 5.25, 0.9, nulo, true, QDate(2024, 5, 15), Momento(2026, 12, 7, 8, 1)});
    Linha(ds, {1005, T("Açaí na tigela"), 40, "KG", 39.9, 18.75, 1.0, true, QDate(2025, 1, 10), nulo});
    Linha(ds, {1006, T("Suco de laranja 300 ml"), 10, "CP", 8.0, 2.95, 0.3, false, QDate(2025, 2, 1), Momento(2026, 11, 30, 0, 0)});
    Linha(ds, {1007, T("Prato feito – frango grelhado"), 30, "PR", 27.9, 11.4, 0.65, true, QDate(2025, 6, 20), Momento(2026, 12, 7, 13, 20)});
    Linha(ds, {1008, T("Taxa de serviço (10%)"), -1, QString(""), 0.0, 0.0, nulo, true, QDate(2024, 3, 1), nulo});
    return ds.SaveToBytes();
}

// Twenty-one fields (six bytes of blank bits) with many nulls: address
// fields only on deliveries, open orders without closing time and payment.
QByteArray Pedidos() {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("NumPedido", ftInteger);
    f.Add("CodCliente", ftInteger, 0, true);
    f.Add("Abertura", ftDateTime);
    f.Add("Fechamento", ftDateTime);
    f.Add("CodGarcom", ftInteger, 0, true);
    f.Add("NomeContato", ftString, 30);
    f.Add("Endereco", ftString, 40);
    f.Add("Complemento", ftString, 30);
    f.Add("Bairro", ftString, 25);
    f.Add("Cidade", ftString, 25);
    f.Add("UF", ftString, 2);
    f.Add("CEP", ftString, 9);
    f.Add("Telefone", ftString, 15);
    f.Add("Canal", ftString, 10);
    f.Add("Cupom", ftString, 12);
    f.Add("Condicao", ftString, 8);
    f.Add("FormaPagto", ftString, 15);
    f.Add("TotalItens", ftCurrency);
    f.Add("TaxaServico", ftFloat);
    f.Add("Entrega", ftCurrency);
    f.Add("ValorPago", ftCurrency);
    ds.Params().SetFieldList(QStringLiteral("DEFAULT_ORDER"), {1});
    ds.Params().SetFieldList(QStringLiteral("PRIMARY_KEY"), {1});
    ds.Params().SetInteger(QStringLiteral("LCID"), kLcidBrasil);
    ds.CreateDataSet();

    const char* const contatos[] = {"Marina Souza",    "João Pedro Lima", "Ana Beatriz Rocha",
                                    "Carlos Henrique", "Luíza Fernandes", "Rafael Antunes"};
    const char* const ruas[] = {"Rua das Acácias, 120", "Av. Brasil, 4500", "Rua Sete de Setembro, 88",
                                "Travessa do Comércio, 5"};
    const char* const bairros[] = {"Centro", "Jardim América", "Vila Nova", "Santa Efigênia"};
    const char* const pagamentos[] = {"Dinheiro", "Pix", "Cartão crédito", "Cartão débito", "Vale-refeição"};
    const char* const canais[] = {"Salão", "Delivery", "Balcão"};
    TSequencia seq(20261207);
    const QVariant nulo;
    for (int i = 0; i < 36; ++i) {
        const int canal = i % 3;
        const bool entrega = canal == 1, aberto = i >= 34;
        // One draw per statement: the order of a call's arguments is the
        // compiler's choice, and the committed files must not depend on it.
        const int segundo = seq.Ate(60);
        const int minuto = seq.Ate(60);
        const QDateTime abertura = Momento(2026, 12, 1 + i / 6, 11 + (i % 6) * 2, minuto, segundo);
        const QDateTime fechamento = abertura.addSecs(60 * (35 + seq.Ate(60)));
        const int cliente = canal == 0 ? 1 : 100 + seq.Ate(40);
        const QString contato = T(contatos[seq.Ate(6)]);
        const qint64 itens = 1500 + seq.Ate(20000);      // cents
        const double taxa = canal == 0 ? (i == 12 ? 12.5 : 10.0) : 0.0;
        const qint64 frete = entrega ? (i % 2 ? 650 : 800) : 0;
        const qint64 pago = (itens * static_cast<qint64>(1000 + taxa * 10) + 500) / 1000 + frete;
        const QString telefone = QStringLiteral("(31) 9%1-%2").arg(8000 + seq.Ate(2000)).arg(1000 + seq.Ate(9000));
        Linha(ds, {5001 + i, cliente, abertura, aberto ? nulo : QVariant(fechamento), 1 + seq.Ate(5),
                   canal == 0 ? nulo : QVariant(contato),
                   entrega ? QVariant(T(ruas[i % 4])) : nulo,
                   entrega && i % 2 ? QVariant(QStringLiteral("Apto %1").arg(101 + i)) : nulo,
                   entrega ? QVariant(T(bairros[(i / 3) % 4])) : nulo,
                   entrega ? QVariant(T("Belo Horizonte")) : nulo,
                   entrega ? QVariant("MG") : nulo,
                   entrega ? QVariant(QStringLiteral("30%1-%2").arg(100 + i * 7).arg(10 + i, 3, 10, QLatin1Char('0'))) : nulo,
                   canal == 0 ? nulo : QVariant(telefone),
                   T(canais[canal]),
                   i % 7 == 3 ? QVariant("NATAL10") : nulo,
                   cliente >= 130 ? T("Faturado") : T("À vista"),
                   aberto ? nulo : QVariant(T(pagamentos[seq.Ate(5)])),
                   static_cast<double>(itens) / 100.0, taxa, static_cast<double>(frete) / 100.0,
                   aberto ? nulo : QVariant(static_cast<double>(pago) / 100.0)});
    }
    return ds.SaveToBytes();
}

// Auto-increment (read-only, numbered by the dataset after an explicit first
// number, AUTOINCVALUE written after the index parameters), int16, money, a
// memo with a width and mostly null, dates and a Boolean.
QByteArray Reservas() {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("IdReserva", ftAutoInc);
    f.Add("CodCliente", ftInteger);
    f.Add("Mesa", ftSmallint);
    f.Add("Pessoas", ftInteger);
    f.Add("Sinal", ftCurrency);
    f.Add("FormaPagto", ftString, 10);
    f.Add("Cartao", ftString, 20);
    f.Add("ValidadeCartao", ftDate);
    f.Add("Observacoes", ftMemo, 30);
    f.Add("DataReserva", ftDate);
    f.Add("Confirmada", ftBoolean);
    ds.Params().SetFieldList(QStringLiteral("DEFAULT_ORDER"), {1});
    ds.Params().SetFieldList(QStringLiteral("PRIMARY_KEY"), {1});
    ds.Params().SetInteger(QStringLiteral("LCID"), kLcidBrasil);
    ds.CreateDataSet();

    const char* const formas[] = {"Pix", "Cartão", "Dinheiro", "Cartão"};
    TSequencia seq(1046);
    const QVariant nulo;
    for (int i = 0; i < 24; ++i) {
        const QString forma = T(formas[i % 4]);
        const bool cartao = i % 2 == 1;
        QVariant observacao;
        if (i == 2) observacao = T("Aniversário: levar bolo às 21h\r\nMesa perto da janela");
        if (i == 9) observacao = T("Cadeira de bebê");
        if (i == 17) observacao = T("Cliente celíaco – sem glúten");
        const int mes = 1 + seq.Ate(12);  // one draw per statement, as above
        const QDate validade = QDate(2027 + seq.Ate(3), mes, 1).addMonths(1).addDays(-1);
        const QString numero = QStringLiteral("%1 **** **** %2").arg(4000 + seq.Ate(6000)).arg(1000 + seq.Ate(9000));
        Linha(ds, {i == 0 ? QVariant(101) : nulo, 200 + seq.Ate(300), 1 + seq.Ate(30), 2 + seq.Ate(9),
                   static_cast<double>(seq.Ate(3) * 2500) / 100.0, forma, cartao ? QVariant(numero) : nulo,
                   cartao ? QVariant(validade) : nulo, observacao, QDate(2026, 12, 10).addDays(i / 3), i % 5 != 4});
    }
    return ds.SaveToBytes();
}

// Time and date, a memo with a width, money and graphics (BMP behind the
// 8-byte picture header), and an auto-increment column numbered by whoever
// wrote the rows, as files from other writers carry it: int32 with the
// Autoinc subtype and the read-only flag, no AUTOINCVALUE.
QByteArray Eventos() {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("IdEvento", ftInteger).SetSubType(QStringLiteral("Autoinc")).SetAttributes(faReadonly);
    f.Add("CodSalao", ftInteger);
    f.Add("Nome", ftString, 30);
    f.Add("Data", ftDate);
    f.Add("Hora", ftTime);
    f.Add("Descricao", ftMemo, 100);
    f.Add("Ingresso", ftCurrency);
    f.Add("Cartaz", ftGraphic);
    ds.Params().SetFieldList(QStringLiteral("DEFAULT_ORDER"), {1});
    ds.Params().SetFieldList(QStringLiteral("PRIMARY_KEY"), {1});
    ds.Params().SetInteger(QStringLiteral("LCID"), kLcidBrasil);
    ds.CreateDataSet();
    const QVariant nulo;
    Linha(ds, {1, 1, T("Noite da pizza"), QDate(2026, 12, 11), QTime(19, 30),
               T("Rodízio de pizzas salgadas e doces, com música ao vivo a partir das 20h."), 59.9,
               Grafico(Bmp(24, 16, 0xF5E6C8, 0xC0392B))});
    Linha(ds, {2, 2, T("Festival de massas"), QDate(2026, 12, 12), QTime(12, 0),
               T("Massas frescas feitas na hora: talharim, nhoque e ravióli."), 49.5,
               Grafico(Bmp(20, 20, 0xFFF8E7, 0xE67E22))});
    Linha(ds, {3, 1, T("Happy hour"), QDate(2026, 12, 12), QTime(17, 45, 30), nulo, 0.0,
               Grafico(Bmp(32, 12, 0x1B2631, 0xF4D03F))});
    Linha(ds, {4, 3, T("Feijoada de sábado"), QDate(2026, 12, 13), QTime(11, 30),
               T("Feijoada completa com couve, farofa, laranja e torresmo.\r\nSobremesa inclusa."), 72.0,
               Grafico(Bmp(17, 9, 0x2C3E50, 0xECF0F1))});
    Linha(ds, {5, 2, T("Festival do sushi"), QDate(2026, 12, 18), QTime(18, 0, 0, 500),
               T("Combinados de sushi e sashimi à vontade."), 119.9, nulo});
    Linha(ds, {6, 1, T("Réveillon"), QDate(2026, 12, 31), QTime(22, 0),
               T("Ceia completa, espumante à meia-noite e queima de fogos no terraço."), 350.0,
               Grafico(Bmp(40, 24, 0x0B0B2B, 0xFFD700))});
    return ds.SaveToBytes();
}

// Change log whose modified versions store only what changed ("not changed"
// bits for the rest); an id that is never assigned (not changed in every
// record, so null); PNG icons in a binary BLOB; a memo set to null by a
// modification; no LCID.
QByteArray Icones() {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("Id", ftInteger);
    f.Add("Categoria", ftString, 50);
    f.Add("Descricao", ftString, 50);
    f.Add("PalavrasChave", ftMemo);
    f.Add("Icone", ftBlob);
    TLogDeAlteracoes log(TLogDeAlteracoes::SoMudancas);
    const auto sem = std::nullopt;
    const int prato = log.Inserir({sem, T("Cardápio"), T("Prato do dia"), T("Prato\r\nAlmoço"), Png(0xC0392B, 6)});
    const int bebida = log.Inserir({sem, T("Cardápio"), T("Bebidas"), T("Bebida\r\nRefrigerante"), Png(0x2980B9, 5)});
    log.Modificar(prato, {{3, T("Prato\r\nAlmoço\r\nExecutivo")}});
    const int caixa = log.Inserir({sem, T("Caixa"), T("Fechamento"), T("Caixa\r\nFechamento\r\nSangria"), Png(0x27AE60, 7)});
    log.Modificar(bebida, {{4, Png(0x2980B9, 7)}});
    const int mesas = log.Inserir({sem, T("Salão"), T("Mesas"), QVariant(), Png(0x8E44AD, 4)});
    log.Modificar(prato, {{2, T("Prato do dia e sugestões")}});
    log.Modificar(mesas, {{3, T("Mesa\r\nComanda\r\nReserva")}});
    const int sangria = log.Inserir({sem, T("Caixa"), T("Sangria"), T("Sangria\r\nRetirada"), Png(0xF39C12, 6)});
    log.Modificar(caixa, {{1, T("Financeiro")}, {3, T("Caixa\r\nFechamento")}});
    log.Modificar(prato, {{4, Png(0xC0392B, 8)}});
    log.Inserir({sem, T("Salão"), T("Garçons"), T("Garçom\r\nAtendimento"), Png(0x16A085, 5)});
    log.Modificar(sangria, {{3, QVariant()}});
    log.Modificar(caixa, {{2, T("Fechamento do caixa")}});
    return log.Gravar(ds);
}

// A long change log over a day of stock movements, with complete modified
// versions: rows that were there before (status 0, then 1, 9, 8), inserted
// rows (4, 5, 12, 13), deletes of inserted, modified and original rows (6,
// 14, 10), auto-increment with AUTOINCVALUE after CHANGE_LOG.
QByteArray Estoque() {
    TClientDataSet ds;
    auto& f = ds.FieldDefs();
    f.Add("Codigo", ftAutoInc);
    f.Add("Produto", ftString, 20);
    f.Add("Estoque", ftInteger);
    f.Add("EstoqueMinimo", ftInteger);
    TLogDeAlteracoes log(TLogDeAlteracoes::Completo);
    QList<int> linhas;  // by code - 1
    linhas << log.Original({1, T("Arroz 5 kg"), 40, 10}) << log.Original({2, T("Feijão carioca 1 kg"), 25, 10});
    const char* const produtos[] = {"Óleo de soja 900 ml", "Farinha de trigo", "Açúcar refinado", "Sal refinado",
                                    "Café em pó 500 g", "Leite integral", "Muçarela fatiada", "Presunto cozido",
                                    "Tomate italiano", "Cebola", "Batata inglesa", "Carne moída"};
    for (int i = 0; i < 10; ++i) linhas << log.Inserir({3 + i, T(produtos[i]), 0, 5 * (1 + i % 4)});
    log.Modificar(linhas[1], {{2, 18}});  // before the feijão goes
    log.Modificar(linhas[4], {{2, 12}});  // before the code 5 goes

    TSequencia seq(1207);
    QList<int> movimentados = {1, 3, 4, 5, 6, 7, 8, 9, 10, 11};  // code 12 is never touched
    for (int passo = 0; passo < 60; ++passo) {
        if (passo == 20) {
            log.Excluir(linhas[4]);
            movimentados.removeOne(5);
        }
        if (passo == 25) {
            linhas << log.Inserir({13, T(produtos[10]), 0, 20});
            movimentados << 13;
        }
        if (passo == 30) log.Excluir(linhas[11]);
        if (passo == 40) {
            linhas << log.Inserir({14, T(produtos[11]), 0, 8});
            movimentados << 14;
        }
        if (passo == 45) log.Excluir(linhas[1]);
        if (passo == 50) linhas << log.Inserir({15, T("Filé de frango"), 30, 10});  // never touched again
        const int codigo = movimentados[seq.Ate(static_cast<int>(movimentados.size()))];
        const int linha = linhas[codigo - 1];
        const int saldo = log.Valor(linha, 2).toInt();
        const int movimento = seq.Ate(3) == 0 ? -std::min(saldo, 1 + seq.Ate(10)) : 5 + seq.Ate(40);
        QMap<int, QVariant> mudancas{{2, saldo + movimento}};
        if (passo % 17 == 16) mudancas.insert(3, 5 + seq.Ate(30));
        log.Modificar(linha, mudancas);
    }
    return log.Gravar(ds);
}

// One inserted record of nine empty strings (each stored as 01 00) and the
// change log that says so.
QByteArray Cupom() {
    TClientDataSet ds;
    for (int i = 1; i <= 9; ++i) ds.FieldDefs().Add(QStringLiteral("Linha%1").arg(i), ftString, 30);
    TLogDeAlteracoes log(TLogDeAlteracoes::SoMudancas);
    log.Inserir(TLogDeAlteracoes::TValores(9, QVariant(QString(""))));
    return log.Gravar(ds);
}

}  // namespace

QList<TFixture> GerarFixtures() {
    return {
        {QStringLiteral("grupos.dat"), Grupos()},     {QStringLiteral("produtos.dat"), Produtos()},
        {QStringLiteral("pedidos.dat"), Pedidos()},   {QStringLiteral("reservas.dat"), Reservas()},
        {QStringLiteral("eventos.dat"), Eventos()},   {QStringLiteral("icones.dat"), Icones()},
        {QStringLiteral("estoque.dat"), Estoque()},   {QStringLiteral("cupom.dat"), Cupom()},
    };
}

}  // namespace vesko::teste
