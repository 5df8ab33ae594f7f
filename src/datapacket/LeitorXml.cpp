#include "datapacket/LeitorXml.h"

#include "base/Cp1252.h"
#include "base/Excecoes.h"
#include "datapacket/ConversaoCampo.h"
#include "datapacket/FormatoPacote.h"

#include <QRegularExpression>
#include <QXmlStreamReader>
#include <cmath>
#include <optional>

namespace vesko {

using namespace pacote;

namespace {

[[noreturn]] void Falhar(const QString& m) { throw EDBClient(m); }

struct TCampoXml {
    QString atributo;  // name of the ROW attribute
    bool aninhado = false;
};

struct TLinhaXml {
    int status = 0;
    std::vector<std::optional<QString>> valores;
};

bool Verdadeiro(QStringView v) { return v.compare(u"true", Qt::CaseInsensitive) == 0; }

QString Texto(const QXmlStreamAttributes& a, QStringView nome) {
    for (const QXmlStreamAttribute& x : a)
        if (x.name().compare(nome, Qt::CaseInsensitive) == 0) return x.value().toString();
    return {};
}

bool Tem(const QXmlStreamAttributes& a, QStringView nome) {
    for (const QXmlStreamAttribute& x : a)
        if (x.name().compare(nome, Qt::CaseInsensitive) == 0) return true;
    return false;
}

QList<qint64> Numeros(const QString& texto, const QString& nome) {
    QList<qint64> r;
    for (const QString& p : texto.split(u' ', Qt::SkipEmptyParts)) {
        bool ok = false;
        r.append(p.toLongLong(&ok));
        if (!ok) Falhar(QStringLiteral("parâmetro %1 inválido: '%2'").arg(nome, texto));
    }
    return r;
}

class TLeitorXml {
public:
    explicit TLeitorXml(const QString& texto) : m_x(texto) {}
    TDadosPacote Ler();

private:
    [[noreturn]] void ErroXml(const QString& detalhe) {
        Falhar(QStringLiteral("XML inválido: %1 (linha %2, coluna %3)").arg(detalhe).arg(m_x.lineNumber()).arg(m_x.columnNumber()));
    }
    bool ProximoFilho();  // next child start element of the current one; false at its end
    void LerCampos(TFieldDefs& defs, std::vector<TCampoXml>* campos, int profundidade);
    TFieldDef LerCampo(std::vector<TCampoXml>* campos, int profundidade);
    void LerParametros(TPacketParams& params);
    void LerLinhas(const std::vector<TCampoXml>& campos);
    void Montar(TDadosPacote& d, const std::vector<TCampoXml>& campos);
    TValor Carga(const TFieldDef& def, const QString& texto, bool utf8, qsizetype linha, QByteArray& guarda);

    QXmlStreamReader m_x;
    std::optional<QList<qint64>> m_log;
    std::vector<TLinhaXml> m_linhas;
};

bool TLeitorXml::ProximoFilho() {
    while (!m_x.atEnd()) {
        m_x.readNext();
        if (m_x.isStartElement()) return true;
        if (m_x.isEndElement()) return false;
    }
    if (m_x.hasError()) ErroXml(m_x.errorString());
    ErroXml(QStringLiteral("fim inesperado"));
}

TFieldDef TLeitorXml::LerCampo(std::vector<TCampoXml>* campos, int profundidade) {
    const QXmlStreamAttributes a = m_x.attributes();
    const QString atributo = Texto(a, u"attrname");
    const QString nome = Tem(a, u"fieldname") ? Texto(a, u"fieldname") : atributo;
    if (atributo.isEmpty() || nome.isEmpty()) ErroXml(QStringLiteral("campo sem nome"));
    const QString tipoXml = Texto(a, u"fieldtype");
    const QString subtipo = Texto(a, u"SUBTYPE");
    const QString st = subtipo.toLower();
    bool ok = true;
    const int largura = Tem(a, u"WIDTH") ? Texto(a, u"WIDTH").toInt(&ok) : 0;
    if (!ok || largura < 0 || largura > 0xFFFF) ErroXml(QStringLiteral("WIDTH inválido no campo '%1'").arg(nome));
    const int decimais = Tem(a, u"DECIMALS") ? Texto(a, u"DECIMALS").toInt(&ok) : 0;
    if (!ok || decimais < 0 || decimais > 0x3F) ErroXml(QStringLiteral("DECIMALS inválido no campo '%1'").arg(nome));

    TFieldType tipo;
    const QString t = tipoXml.toLower();
    if (t == u"i1") tipo = ftShortint;
    else if (t == u"i2") tipo = ftSmallint;
    else if (t == u"i4") tipo = st == u"autoinc" ? ftAutoInc : ftInteger;
    else if (t == u"i8") tipo = ftLargeint;
    else if (t == u"ui1") tipo = ftByte;
    else if (t == u"ui2") tipo = ftWord;
    else if (t == u"ui4") tipo = ftLongWord;
    else if (t == u"ui8") tipo = ftLargeUInt;
    else if (t == u"boolean") tipo = ftBoolean;
    else if (t == u"r8") tipo = st == u"money" ? ftCurrency : ftFloat;
    else if (t == u"r4") tipo = ftSingle;
    else if (t == u"fixed") tipo = ftBCD;
    else if (t == u"fixedfmt") tipo = ftFMTBcd;
    else if (t == u"date") tipo = ftDate;
    else if (t == u"time") tipo = ftTime;
    else if (t == u"datetime") tipo = ftDateTime;
    else if (t == u"sqldatetime") tipo = ftTimeStamp;
    else if (t == u"sqldatetimeoffset") tipo = ftTimeStampOffset;
    else if (t == u"string") tipo = st == u"fixedchar" ? ftFixedChar : st == u"guid" ? ftGuid : ftString;
    else if (t == u"string.uni") tipo = st == u"fixedchar" ? ftFixedWideChar : ftWideString;
    else if (t == u"bin.hex") {
        if (st == u"text") tipo = ftMemo;
        else if (st == u"widetext") tipo = ftWideMemo;
        else if (st == u"formatted") tipo = ftFmtMemo;
        else if (st == u"graphics") tipo = ftGraphic;
        else if (st == u"typedbinary") tipo = ftTypedBinary;
        else if (subtipo.isEmpty() && largura > 0) tipo = ftVarBytes;
        else tipo = ftBlob;
    } else if (t == u"nested") tipo = ftDataSet;
    else ErroXml(QStringLiteral("tipo de campo desconhecido '%1' no campo '%2'").arg(tipoXml, nome));

    TFieldDef def(nome, tipo);
    if (EhTextoLargo(tipo)) def.SetSize(largura / 2);
    else if (EhDecimal(tipo)) { def.SetPrecision(largura); def.SetScale(decimais); }
    else if (EhTexto8(tipo) || EhBlob(tipo) || tipo == ftVarBytes) def.SetSize(largura);
    if (!subtipo.isEmpty() || tipo == ftBlob) def.SetSubType(subtipo);
    std::uint16_t atributos = 0;
    if (Verdadeiro(Texto(a, u"readonly"))) atributos |= faReadonly;
    if (Verdadeiro(Texto(a, u"required"))) atributos |= faRequired;
    if (Verdadeiro(Texto(a, u"hidden"))) atributos |= faHidden;
    if (Verdadeiro(Texto(a, u"linkfield"))) atributos |= faLink;
    if (tipo == ftAutoInc) atributos |= faReadonly;
    if (tipo == ftFixedChar || tipo == ftFixedWideChar) atributos |= faFixed;
    def.SetAttributes(atributos);

    auto filhos = std::make_shared<TFieldDefs>();
    while (ProximoFilho()) {
        if (m_x.name() == u"FIELDS" && tipo == ftDataSet) {
            if (profundidade >= 16) ErroXml(QStringLiteral("tabelas aninhadas em níveis demais"));
            LerCampos(*filhos, nullptr, profundidade + 1);
        } else if (m_x.name() == u"PARAM") {
            const QXmlStreamAttributes p = m_x.attributes();
            TPacketParams extra;
            extra.SetText(Texto(p, u"Name"), Texto(p, u"Value"));
            if (!Texto(p, u"Name").isEmpty()) def.ParametrosExtras().append(extra.List().front());
            m_x.skipCurrentElement();
        } else {
            m_x.skipCurrentElement();
        }
    }
    if (tipo == ftDataSet) def.DefinirFilhos(std::move(filhos));
    if (campos) campos->push_back({atributo, tipo == ftDataSet});
    return def;
}

void TLeitorXml::LerCampos(TFieldDefs& defs, std::vector<TCampoXml>* campos, int profundidade) {
    while (ProximoFilho()) {
        if (m_x.name() == u"FIELD")
            defs.Add(LerCampo(campos, profundidade));
        else
            m_x.skipCurrentElement();
    }
}

void TLeitorXml::LerParametros(TPacketParams& params) {
    for (const QXmlStreamAttribute& a : m_x.attributes()) {
        const QString nome = a.name().toString().toUpper();
        const QString valor = a.value().toString();
        if (nome == u"CHANGE_LOG") {
            m_log = Numeros(valor, nome);
        } else if (nome == u"DEFAULT_ORDER" || nome == u"PRIMARY_KEY" || nome == u"UNIQUE_KEY") {
            QList<int> campos;
            for (qint64 n : Numeros(valor, nome)) {
                if (n < 0 || n > 0xFFFF) Falhar(QStringLiteral("parâmetro %1 inválido: '%2'").arg(nome, valor));
                campos.append(static_cast<int>(n));
            }
            params.SetFieldList(nome, campos);
        } else if (nome == u"LCID" || nome == u"AUTOINCVALUE") {
            const QList<qint64> n = Numeros(valor, nome);
            if (n.size() != 1 || n[0] < INT32_MIN || n[0] > INT32_MAX) Falhar(QStringLiteral("parâmetro %1 inválido: '%2'").arg(nome, valor));
            params.SetInteger(nome, static_cast<qint32>(n[0]));
        } else if (!nome.isEmpty()) {
            params.SetText(a.name().toString(), valor);
        }
    }
    while (ProximoFilho()) {
        if (m_x.name() == u"PARAM") {
            const QXmlStreamAttributes p = m_x.attributes();
            const QString nome = Texto(p, u"Name");
            bool ok = false;
            const int n = Texto(p, u"Value").toInt(&ok);
            if (nome.isEmpty()) {
            } else if (Texto(p, u"Type").startsWith(u'i') && ok)
                params.SetInteger(nome, n);
            else
                params.SetText(nome, Texto(p, u"Value"));
        }
        m_x.skipCurrentElement();
    }
}

void TLeitorXml::LerLinhas(const std::vector<TCampoXml>& campos) {
    QHash<QString, int> porAtributo;
    for (std::size_t k = 0; k < campos.size(); ++k)
        if (!porAtributo.contains(campos[k].atributo)) porAtributo.insert(campos[k].atributo, static_cast<int>(k));
    while (ProximoFilho()) {
        if (m_x.name() != u"ROW") {
            m_x.skipCurrentElement();
            continue;
        }
        TLinhaXml linha;
        linha.valores.resize(campos.size());
        for (const QXmlStreamAttribute& a : m_x.attributes()) {
            if (a.name() == u"RowState") {
                bool ok = false;
                linha.status = a.value().toInt(&ok);
                if (!ok || linha.status < 0 || linha.status > 0xFF)
                    ErroXml(QStringLiteral("RowState inválido '%1'").arg(a.value()));
                continue;
            }
            const int k = porAtributo.value(a.name().toString(), -1);
            if (k >= 0 && !campos[static_cast<std::size_t>(k)].aninhado) linha.valores[static_cast<std::size_t>(k)] = a.value().toString();
        }
        m_x.skipCurrentElement();  // nested rows are not kept
        m_linhas.push_back(std::move(linha));
    }
}

QByteArray SqlTimestamp(const QDate& d, const QTime& t, int fusoHora, int fusoMinuto, bool comFuso) {
    QByteArray b(comFuso ? 20 : 16, '\0');
    GravarLE(b.data(), 2, static_cast<std::uint16_t>(d.year()));
    GravarLE(b.data() + 2, 2, static_cast<std::uint64_t>(d.month()));
    GravarLE(b.data() + 4, 2, static_cast<std::uint64_t>(d.day()));
    GravarLE(b.data() + 6, 2, static_cast<std::uint64_t>(t.hour()));
    GravarLE(b.data() + 8, 2, static_cast<std::uint64_t>(t.minute()));
    GravarLE(b.data() + 10, 2, static_cast<std::uint64_t>(t.second()));
    GravarLE(b.data() + 12, 4, static_cast<std::uint64_t>(t.msec()));
    if (comFuso) {
        GravarLE(b.data() + 16, 2, static_cast<std::uint16_t>(fusoHora));
        GravarLE(b.data() + 18, 2, static_cast<std::uint16_t>(fusoMinuto));
    }
    return b;
}

// "HH:MM:SSmmm" (the last five digits are seconds × 1000 + milliseconds);
// "HH:MM:SS" and "HH:MM:SS.zzz" are accepted too.
bool LerHoraXml(QStringView s, QTime& t) {
    static const QRegularExpression re(QStringLiteral("^(\\d{1,2}):(\\d{2}):(\\d{2})(?:(\\d{3})|\\.(\\d{1,3}))?$"));
    const auto m = re.match(s.toString());
    if (!m.hasMatch()) return false;
    const int ms = m.capturedLength(4) ? m.captured(4).toInt() : m.capturedLength(5) ? m.captured(5).leftJustified(3, u'0').toInt() : 0;
    t = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), ms);
    return t.isValid();
}

bool LerDataXml(QStringView s, QDate& d) {
    static const QRegularExpression re(QStringLiteral("^(-?\\d{4})-?(\\d{2})-?(\\d{2})$"));
    const auto m = re.match(s.toString());
    if (!m.hasMatch()) return false;
    d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return d.isValid();
}

TValor TLeitorXml::Carga(const TFieldDef& def, const QString& texto, bool utf8, qsizetype linha, QByteArray& guarda) {
    const TFieldType t = def.DataType();
    auto invalido = [&]() -> TValor {
        Falhar(QStringLiteral("valor inválido '%1' no campo '%2' (linha %3)").arg(texto.left(40), def.Name()).arg(linha));
    };
    std::optional<QByteArray> carga;
    bool ok = true;
    try {
        if (EhInteiro(t)) {
            if (t == ftLargeUInt) {
                const qulonglong u = texto.trimmed().toULongLong(&ok);
                carga = QByteArray(8, Qt::Uninitialized);
                GravarLE(carga->data(), 8, u);
            } else {
                const qint64 v = texto.trimmed().toLongLong(&ok);
                if (ok) carga = conversao::DeInteiro(def, v, utf8);
            }
        } else if (t == ftBoolean) {
            const QString x = texto.trimmed().toUpper();
            ok = x.startsWith(u'T') || x.startsWith(u'F');
            if (ok) carga = conversao::DeBooleano(def, x.startsWith(u'T'), utf8);
        } else if (t == ftFloat || t == ftCurrency || t == ftSingle) {
            const double v = texto.trimmed().toDouble(&ok);
            if (ok && t == ftSingle) {
                const float f = static_cast<float>(v);
                carga = QByteArray(kBytesSingle, '\0');
                std::memcpy(carga->data(), &f, 4);
            } else if (ok) {
                carga = conversao::DeFloat(def, v, utf8);
            }
        } else if (EhDecimal(t)) {
            QByteArray b;
            ok = conversao::BcdDeTexto(texto, b);
            carga = b;
        } else if (t == ftDate) {
            QDate d;
            ok = LerDataXml(texto.trimmed(), d);
            if (ok) carga = conversao::DeDataHora(def, QDateTime(d, QTime(0, 0), Qt::UTC), utf8);
        } else if (t == ftTime) {
            QTime h;
            ok = LerHoraXml(texto.trimmed(), h);
            if (ok) carga = conversao::DeDataHora(def, QDateTime(conversao::DataZero(), h, Qt::UTC), utf8);
        } else if (t == ftDateTime || t == ftTimeStamp || t == ftTimeStampOffset) {
            const QString x = texto.trimmed();
            QString parteFuso;
            QString semFuso = x;
            if (t == ftTimeStampOffset && x.size() > 6 && (x[x.size() - 6] == u'+' || x[x.size() - 6] == u'-')) {
                parteFuso = x.right(6);
                semFuso = x.left(x.size() - 6);
            }
            const qsizetype tt = semFuso.indexOf(u'T');
            QDate d;
            QTime h(0, 0);
            ok = LerDataXml(tt < 0 ? QStringView(semFuso) : QStringView(semFuso).left(tt), d) &&
                 (tt < 0 || LerHoraXml(QStringView(semFuso).mid(tt + 1), h));
            if (ok && t == ftDateTime) {
                carga = conversao::DeDataHora(def, QDateTime(d, h, Qt::UTC), utf8);
            } else if (ok) {
                int fh = 0, fm = 0;
                if (!parteFuso.isEmpty()) {
                    fh = parteFuso.mid(1, 2).toInt();
                    fm = parteFuso.mid(4, 2).toInt();
                    if (parteFuso[0] == u'-') { fh = -fh; fm = -fm; }
                }
                carga = SqlTimestamp(d, h, fh, fm, t == ftTimeStampOffset);
            }
        } else if (t == ftMemo || t == ftFmtMemo || t == ftWideMemo || EhTexto8(t) || EhTextoLargo(t)) {
            carga = conversao::DeTexto(def, texto, utf8);
        } else if (t == ftDataSet) {
            return {};
        } else {
            auto r = QByteArray::fromBase64Encoding(texto.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
            ok = static_cast<bool>(r);
            if (ok) carga = conversao::DeBytes(def, *r, utf8);
        }
    } catch (const EConvertError& e) {
        Falhar(QStringLiteral("valor inválido '%1' no campo '%2' (linha %3): %4").arg(texto.left(40), def.Name()).arg(linha).arg(e.Mensagem()));
    }
    if (!ok) return invalido();
    if (!carga) return {};
    guarda = std::move(*carga);
    return {guarda.constData(), guarda.size()};
}

void TLeitorXml::Montar(TDadosPacote& d, const std::vector<TCampoXml>& campos) {
    const auto n = static_cast<qint64>(m_linhas.size());
    const std::size_t f = campos.size();

    // 8-bit text stays in Windows-1252 unless the file holds text it cannot.
    for (const TLinhaXml& l : m_linhas)
        for (std::size_t k = 0; k < f && !d.texto8Utf8; ++k) {
            const TFieldType t = d.campos[static_cast<int>(k)].DataType();
            if ((EhTexto8(t) || t == ftMemo || t == ftFmtMemo) && l.valores[k] && !CabeEmCp1252(*l.valores[k]))
                d.texto8Utf8 = true;
        }

    // The change log pairs modified rows with their earlier versions; a field
    // a modified row leaves out keeps the earlier version's value.
    std::vector<std::int32_t> anterior(static_cast<std::size_t>(n + 1), 0), proximo(static_cast<std::size_t>(n + 1), 0);
    if (m_log) {
        const QList<qint64>& log = *m_log;
        if (log.size() % 3) Falhar(QStringLiteral("registro de alterações (CHANGE_LOG) inválido: %1 números").arg(log.size()));
        for (qsizetype i = 0; i < log.size(); i += 3) {
            const qint64 reg = log[i], ant = log[i + 1], acao = log[i + 2];
            if (reg < 1 || reg > n) Falhar(QStringLiteral("registro de alterações (CHANGE_LOG) inválido: aponta para a linha %1, que não existe").arg(reg));
            if (!(acao & kStatusModificado) || ant == 0) continue;
            if (ant < 1 || ant > n || ant == reg || anterior[reg] || proximo[ant])
                Falhar(QStringLiteral("registro de alterações (CHANGE_LOG) inválido na linha %1").arg(reg));
            anterior[reg] = static_cast<std::int32_t>(ant);
            proximo[ant] = static_cast<std::int32_t>(reg);
        }
    }

    const TLayout layout = LayoutDe(d.campos, d.texto8Utf8);
    std::vector<TValor> atual(f), valores(f);
    std::vector<QByteArray> guarda(f), guardaAtual(f);
    std::vector<std::int32_t> alcancado(static_cast<std::size_t>(n + 1), 0);
    for (qint64 o = 1; o <= n; ++o) {
        if (anterior[o]) continue;
        std::fill(atual.begin(), atual.end(), TValor{});
        for (qint64 r = o; r; r = proximo[r]) {
            alcancado[r] = 1;
            const TLinhaXml& l = m_linhas[static_cast<std::size_t>(r - 1)];
            for (std::size_t k = 0; k < f; ++k) {
                if (!l.valores[k]) continue;
                valores[k] = Carga(d.campos[static_cast<int>(k)], *l.valores[k], d.texto8Utf8, r, guarda[k]);
                guardaAtual[k] = guarda[k];
                atual[k] = valores[k].Nulo() ? TValor{} : TValor{guardaAtual[k].constData(), guardaAtual[k].size()};
            }
            if (l.status & kStatusOculto) continue;
            d.linhas.push_back(d.arena.size());
            AnexarRegistro(d.arena, layout, atual.data());
        }
    }
    for (qint64 r = 1; r <= n; ++r)
        if (!alcancado[r]) Falhar(QStringLiteral("registro de alterações (CHANGE_LOG) inválido: cadeia circular na linha %1").arg(r));
    d.deRegistroDeAlteracoes = m_log.has_value();
}

TDadosPacote TLeitorXml::Ler() {
    TDadosPacote d;
    std::vector<TCampoXml> campos;
    if (!ProximoFilho() || m_x.name() != u"DATAPACKET") ErroXml(QStringLiteral("não é um pacote de dados"));
    bool temCampos = false;
    while (ProximoFilho()) {
        if (m_x.name() == u"METADATA") {
            while (ProximoFilho()) {
                if (m_x.name() == u"FIELDS") {
                    LerCampos(d.campos, &campos, 0);
                    temCampos = true;
                } else if (m_x.name() == u"PARAMS") {
                    LerParametros(d.parametros);
                } else {
                    m_x.skipCurrentElement();
                }
            }
        } else if (m_x.name() == u"ROWDATA") {
            if (!temCampos) ErroXml(QStringLiteral("linhas antes dos campos"));
            LerLinhas(campos);
        } else {
            m_x.skipCurrentElement();
        }
    }
    if (m_x.hasError()) ErroXml(m_x.errorString());
    if (d.campos.Count() == 0) Falhar(QStringLiteral("o pacote não define nenhum campo"));
    if (d.campos.Count() > 0xFFFF) Falhar(QStringLiteral("campos demais (%1)").arg(d.campos.Count()));
    Montar(d, campos);
    return d;
}

QByteArrayView SemBom(QByteArrayView b) { return b.startsWith("\xEF\xBB\xBF") ? b.sliced(3) : b; }

}  // namespace

bool TLeitorPacoteXml::Reconhece(QByteArrayView inicio) {
    const QByteArrayView b = SemBom(inicio);
    for (char c : b) {
        if (c == '<') return true;
        if (c != ' ' && c != '\t' && c != '\r' && c != '\n') return false;
    }
    return false;
}

TDadosPacote TLeitorPacoteXml::Ler(const QByteArray& bytes) {
    const bool bom = bytes.startsWith("\xEF\xBB\xBF");
    bool utf8 = bom;
    if (!utf8) {
        // The encoding declaration, if any, sits in the first line.
        static const QRegularExpression declaracao(QStringLiteral("^\\s*<\\?xml[^>]*encoding\\s*=\\s*[\"']\\s*utf-?8\\s*[\"']"),
                                                   QRegularExpression::CaseInsensitiveOption);
        utf8 = declaracao.match(QString::fromLatin1(bytes.left(200))).hasMatch();
    }
    const QByteArrayView corpo = bom ? QByteArrayView(bytes).sliced(3) : QByteArrayView(bytes);
    const QString texto = utf8 ? QString::fromUtf8(corpo) : DeCp1252(corpo);
    try {
        return TLeitorXml(texto).Ler();
    } catch (const std::bad_alloc&) {
        throw EDBClient(QStringLiteral("memória insuficiente para ler o pacote"));
    }
}

}  // namespace vesko
