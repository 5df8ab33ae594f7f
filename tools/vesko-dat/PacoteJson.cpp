#include "PacoteJson.h"

#include "base/Excecoes.h"

#include <QRegularExpression>
#include <cmath>
#include <limits>

namespace vesko::dat {

namespace {

struct TNomeTipo {
    TFieldType tipo;
    const char* nome;
};

constexpr TNomeTipo kTipos[] = {
    {ftString, "string"},       {ftWideString, "widestring"}, {ftShortint, "int8"},       {ftSmallint, "int16"},
    {ftInteger, "int32"},       {ftLargeint, "int64"},        {ftByte, "uint8"},          {ftWord, "uint16"},
    {ftLongWord, "uint32"},     {ftAutoInc, "autoinc"},       {ftBoolean, "boolean"},     {ftFloat, "float"},
    {ftCurrency, "currency"},   {ftBCD, "bcd"},               {ftFMTBcd, "fmtbcd"},       {ftDate, "date"},
    {ftTime, "time"},           {ftDateTime, "datetime"},     {ftMemo, "memo"},           {ftWideMemo, "widememo"},
    {ftBlob, "blob"},           {ftGraphic, "graphic"},
    // kinds found in other packets
    {ftFixedChar, "fixedchar"}, {ftFixedWideChar, "fixedwidechar"}, {ftGuid, "guid"},   {ftLargeUInt, "uint64"},
    {ftSingle, "single"},       {ftExtended, "extended"},     {ftTimeStamp, "timestamp"}, {ftTimeStampOffset, "timestampoffset"},
    {ftBytes, "bytes"},         {ftVarBytes, "varbytes"},     {ftFmtMemo, "fmtmemo"},     {ftTypedBinary, "typedbinary"},
    {ftUnknown, "unknown"},     {ftDataSet, "nested"},
};

const char* NomeJson(TFieldType t) {
    for (const auto& x : kTipos)
        if (x.tipo == t) return x.nome;
    return "unknown";
}

[[noreturn]] void Falhar(const QString& m) { throw EConvertError(m); }

QString Q(const std::string& s) { return QString::fromStdString(s); }

bool UsaTamanho(TFieldType t) {
    return EhTexto8(t) || EhTextoLargo(t) || t == ftBytes || t == ftVarBytes;
}

QString TextoData(const QDate& d) {
    const int a = d.year();
    return QStringLiteral("%1%2-%3-%4")
        .arg(a < 0 ? QStringLiteral("-") : QString())
        .arg(std::abs(a), 4, 10, QLatin1Char('0'))
        .arg(d.month(), 2, 10, QLatin1Char('0'))
        .arg(d.day(), 2, 10, QLatin1Char('0'));
}

QString TextoHora(const QTime& t) {
    return t.toString(t.msec() ? QStringLiteral("HH:mm:ss.zzz") : QStringLiteral("HH:mm:ss"));
}

bool LerData(const QString& s, QDate& d) {
    static const QRegularExpression re(QStringLiteral("^(-?\\d{4,})-(\\d{2})-(\\d{2})$"));
    const auto m = re.match(s);
    if (!m.hasMatch()) return false;
    d = QDate(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt());
    return d.isValid();
}

bool LerHora(const QString& s, QTime& t) {
    static const QRegularExpression re(QStringLiteral("^(\\d{2}):(\\d{2}):(\\d{2})(?:\\.(\\d{3}))?$"));
    const auto m = re.match(s);
    if (!m.hasMatch()) return false;
    t = QTime(m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt(), m.captured(4).toInt());
    return t.isValid();
}

Json ValorJson(TField& f) {
    if (f.IsNull()) return nullptr;
    const TFieldType t = f.DataType();
    switch (t) {
    case ftBoolean:
        return f.AsBoolean();
    case ftLargeUInt:
        return f.AsVariant().toULongLong();
    case ftFloat: case ftCurrency: case ftSingle: case ftExtended: {
        const double v = f.AsFloat();
        if (std::isnan(v)) return "NaN";
        if (std::isinf(v)) return v > 0 ? "Infinity" : "-Infinity";
        return v;
    }
    case ftBCD: case ftFMTBcd:
        return f.AsString().replace(QLocale().decimalPoint(), QStringLiteral(".")).toStdString();
    case ftDate:
        return TextoData(f.AsDate()).toStdString();
    case ftTime:
        return TextoHora(f.AsTime()).toStdString();
    case ftDateTime: case ftTimeStamp: case ftTimeStampOffset: {
        const QDateTime dh = f.AsDateTime();
        return (TextoData(dh.date()) + u'T' + TextoHora(dh.time())).toStdString();
    }
    case ftString: case ftFixedChar: case ftGuid: case ftWideString: case ftFixedWideChar: case ftMemo:
    case ftWideMemo: case ftFmtMemo:
        return f.AsString().toStdString();
    case ftDataSet:
        return nullptr;
    default:
        if (EhInteiro(t)) return f.AsLargeInt();
        return f.AsBytes().toBase64().toStdString();
    }
}

QString TextoCsv(TField& f) {
    const Json v = ValorJson(f);
    if (v.is_null()) return {};
    if (v.is_string()) return Q(v.get<std::string>());
    if (v.is_boolean()) return v.get<bool>() ? QStringLiteral("true") : QStringLiteral("false");
    if (v.is_number_float()) return QString::number(v.get<double>(), 'g', QLocale::FloatingPointShortest);
    return Q(v.dump());
}

void DefinirValor(TField& f, const Json& v, int linha) {
    const TFieldType t = f.DataType();
    auto erro = [&](const char* esperado) {
        Falhar(QStringLiteral("linha %1, campo '%2': esperado %3, encontrado %4")
                   .arg(linha).arg(f.FieldName(), QString::fromUtf8(esperado), Q(v.dump()).left(40)));
    };
    if (v.is_null()) return f.Clear();
    if (t == ftBoolean) {
        if (!v.is_boolean()) erro("true ou false");
        return f.SetAsBoolean(v.get<bool>());
    }
    if (EhInteiro(t)) {
        if (v.is_number_unsigned() && t == ftLargeUInt) return f.SetAsVariant(QVariant::fromValue(v.get<std::uint64_t>()));
        if (!v.is_number_integer()) erro("um número inteiro");
        if (v.is_number_unsigned() && v.get<std::uint64_t>() > static_cast<std::uint64_t>(std::numeric_limits<qint64>::max()))
            return f.SetAsVariant(QVariant::fromValue(v.get<std::uint64_t>()));
        return f.SetAsInteger(v.get<std::int64_t>());
    }
    if (EhFlutuante(t)) {
        if (v.is_string()) {
            const std::string s = v.get<std::string>();
            if (s == "NaN") return f.SetAsFloat(std::numeric_limits<double>::quiet_NaN());
            if (s == "Infinity") return f.SetAsFloat(std::numeric_limits<double>::infinity());
            if (s == "-Infinity") return f.SetAsFloat(-std::numeric_limits<double>::infinity());
        }
        if (!v.is_number()) erro("um número");
        return f.SetAsFloat(v.get<double>());
    }
    if (!v.is_string()) erro("um texto");
    const QString s = Q(v.get<std::string>());
    switch (t) {
    case ftBCD: case ftFMTBcd:
        return f.SetAsString(s);
    case ftDate: {
        QDate d;
        if (!LerData(s, d)) erro("uma data AAAA-MM-DD");
        return f.SetAsDate(d);
    }
    case ftTime: {
        QTime h;
        if (!LerHora(s, h)) erro("uma hora HH:MM:SS");
        return f.SetAsTime(h);
    }
    case ftDateTime: case ftTimeStamp: case ftTimeStampOffset: {
        const qsizetype i = s.indexOf(u'T');
        QDate d;
        QTime h;
        if (i < 0 || !LerData(s.left(i), d) || !LerHora(s.mid(i + 1), h)) erro("uma data e hora AAAA-MM-DDTHH:MM:SS");
        return f.SetAsDateTime(QDateTime(d, h, Qt::UTC));
    }
    case ftString: case ftFixedChar: case ftGuid: case ftWideString: case ftFixedWideChar: case ftMemo:
    case ftWideMemo: case ftFmtMemo:
        return f.SetAsString(s);
    default: {
        auto b = QByteArray::fromBase64Encoding(s.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
        if (!b) erro("bytes em base64");
        return f.SetAsBytes(*b);
    }
    }
}

int Inteiro(const Json& campo, const char* chave, const QString& nome) {
    const auto it = campo.find(chave);
    if (it == campo.end()) return 0;
    if (!it->is_number_integer() || it->get<std::int64_t>() < 0 || it->get<std::int64_t>() > 0xFFFF)
        Falhar(QStringLiteral("campo '%1': \"%2\" deve ser um número inteiro de 0 a 65535").arg(nome, QLatin1String(chave)));
    return static_cast<int>(it->get<std::int64_t>());
}

}  // namespace

Json ParaJson(TClientDataSet& ds) {
    Json doc = Json::object();
    Json campos = Json::array();
    for (int i = 0; i < ds.FieldCount(); ++i) {
        const TFieldDef& d = ds.Fields(i).Def();
        Json c = Json::object();
        c["name"] = d.Name().toStdString();
        c["type"] = NomeJson(d.DataType());
        if (UsaTamanho(d.DataType()) || (EhBlob(d.DataType()) && d.Size() > 0)) c["size"] = d.Size();
        if (EhDecimal(d.DataType())) {
            c["precision"] = d.Precision();
            c["scale"] = d.Scale();
        }
        if (d.Required()) c["required"] = true;
        if (d.SubType() != TFieldDef(d.Name(), d.DataType(), d.Size()).SubType()) c["subtype"] = d.SubType().toStdString();
        if (d.DataType() == ftUnknown) c["typeword"] = d.PalavraTipo();
        campos.push_back(std::move(c));
    }
    doc["fields"] = std::move(campos);
    Json linhas = Json::array();
    for (ds.First(); !ds.Eof(); ds.Next()) {
        Json l = Json::object();
        for (int i = 0; i < ds.FieldCount(); ++i) {
            TField& f = ds.Fields(i);
            l[f.FieldName().toStdString()] = ValorJson(f);
        }
        linhas.push_back(std::move(l));
    }
    doc["rows"] = std::move(linhas);
    return doc;
}

void DeJson(const Json& doc, TClientDataSet& ds) {
    if (!doc.is_object() || !doc.contains("fields") || !doc["fields"].is_array())
        Falhar(QStringLiteral("o documento não tem a lista \"fields\""));
    ds.Close();
    ds.FieldDefs().Clear();
    for (const Json& c : doc["fields"]) {
        if (!c.is_object() || !c.contains("name") || !c["name"].is_string() || !c.contains("type") || !c["type"].is_string())
            Falhar(QStringLiteral("cada campo precisa de \"name\" e \"type\""));
        const QString nome = Q(c["name"].get<std::string>());
        const std::string tipoJson = c["type"].get<std::string>();
        const TNomeTipo* tipo = nullptr;
        for (const auto& x : kTipos)
            if (tipoJson == x.nome) tipo = &x;
        if (!tipo || tipo->tipo == ftDataSet || tipo->tipo == ftUnknown)
            Falhar(QStringLiteral("campo '%1': tipo desconhecido \"%2\"").arg(nome, Q(tipoJson)));
        TFieldDef& d = ds.FieldDefs().Add(nome, tipo->tipo, Inteiro(c, "size", nome));
        if (tipo->tipo == ftGuid && !c.contains("size")) d.SetSize(38);
        d.SetPrecision(Inteiro(c, "precision", nome));
        d.SetScale(Inteiro(c, "scale", nome));
        if (c.contains("required")) {
            if (!c["required"].is_boolean()) Falhar(QStringLiteral("campo '%1': \"required\" deve ser true ou false").arg(nome));
            d.SetRequired(c["required"].get<bool>());
        }
        if (c.contains("subtype")) {
            if (!c["subtype"].is_string()) Falhar(QStringLiteral("campo '%1': \"subtype\" deve ser um texto").arg(nome));
            d.SetSubType(Q(c["subtype"].get<std::string>()));
        }
    }
    ds.CreateDataSet();
    if (!doc.contains("rows")) return;
    if (!doc["rows"].is_array()) Falhar(QStringLiteral("\"rows\" deve ser uma lista"));
    int n = 0;
    for (const Json& l : doc["rows"]) {
        ++n;
        if (!l.is_object()) Falhar(QStringLiteral("linha %1: esperado um objeto").arg(n));
        ds.Append();
        for (auto it = l.begin(); it != l.end(); ++it) {
            TField* f = ds.FindField(Q(it.key()));
            if (!f) Falhar(QStringLiteral("linha %1: campo desconhecido '%2'").arg(n).arg(Q(it.key())));
            DefinirValor(*f, it.value(), n);
        }
        ds.Post();
    }
    ds.First();
}

QByteArray ParaCsv(TClientDataSet& ds) {
    auto celula = [](const QString& s) {
        if (!s.contains(QRegularExpression(QStringLiteral("[\",\r\n]")))) return s;
        QString r = s;
        r.replace(u'"', QStringLiteral("\"\""));
        return u'"' + r + u'"';
    };
    QStringList linhas;
    QStringList cab;
    for (int i = 0; i < ds.FieldCount(); ++i) cab << celula(ds.Fields(i).FieldName());
    linhas << cab.join(u',');
    for (ds.First(); !ds.Eof(); ds.Next()) {
        QStringList l;
        for (int i = 0; i < ds.FieldCount(); ++i) {
            TField& f = ds.Fields(i);
            l << celula(TextoCsv(f));
        }
        linhas << l.join(u',');
    }
    QByteArray r;
    for (const QString& l : linhas) r += l.toUtf8() + "\r\n";
    return r;
}

QString ParaTabela(TClientDataSet& ds) {
    constexpr qsizetype kLargura = 40;
    QString r;
    r += QStringLiteral("%1 campos, %2 registros\n\n").arg(ds.FieldCount()).arg(ds.RecordCount());
    for (int i = 0; i < ds.FieldCount(); ++i) {
        const TFieldDef& d = ds.Fields(i).Def();
        QString tipo = QString::fromLatin1(NomeJson(d.DataType()));
        if (UsaTamanho(d.DataType()) || (EhBlob(d.DataType()) && d.Size() > 0)) tipo += QStringLiteral("(%1)").arg(d.Size());
        if (EhDecimal(d.DataType())) tipo += QStringLiteral("(%1,%2)").arg(d.Precision()).arg(d.Scale());
        if (d.Required()) tipo += QStringLiteral(" obrigatório");
        r += QStringLiteral("  %1  %2  %3\n").arg(i + 1, 3).arg(d.Name(), -20).arg(tipo);
    }
    r += u'\n';

    std::vector<QStringList> celulas;
    QStringList cab;
    for (int i = 0; i < ds.FieldCount(); ++i) cab << ds.Fields(i).FieldName();
    celulas.push_back(cab);
    for (ds.First(); !ds.Eof(); ds.Next()) {
        QStringList l;
        for (int i = 0; i < ds.FieldCount(); ++i) {
            TField& f = ds.Fields(i);
            QString s;
            if (f.IsNull()) s = QStringLiteral("(nulo)");
            else if (f.IsBlob() && !EhMemo(f.DataType())) s = QStringLiteral("(%1 bytes)").arg(f.AsBytes().size());
            else if (f.DataType() == ftBytes || f.DataType() == ftVarBytes || f.DataType() == ftUnknown) s = QString::fromLatin1(f.AsBytes().toHex(' '));
            else s = f.AsString();
            s.replace(QStringLiteral("\r\n"), QStringLiteral(" ")).replace(u'\n', u' ').replace(u'\r', u' ').replace(u'\t', u' ');
            if (s.size() > kLargura) s = s.left(kLargura - 1) + u'…';
            l << s;
        }
        celulas.push_back(l);
    }
    std::vector<qsizetype> larguras(static_cast<std::size_t>(ds.FieldCount()), 0);
    for (const QStringList& l : celulas)
        for (qsizetype i = 0; i < l.size(); ++i) larguras[static_cast<std::size_t>(i)] = std::max(larguras[static_cast<std::size_t>(i)], l[i].size());
    auto linha = [&](const QStringList& l) {
        QStringList partes;
        for (qsizetype i = 0; i < l.size(); ++i) partes << l[i].leftJustified(larguras[static_cast<std::size_t>(i)]);
        return partes.join(QStringLiteral(" | ")).trimmed() + u'\n';
    };
    r += linha(celulas[0]);
    QStringList tracos;
    for (qsizetype w : larguras) tracos << QString(w, u'-');
    r += tracos.join(QStringLiteral("-+-")) + u'\n';
    for (std::size_t i = 1; i < celulas.size(); ++i) r += linha(celulas[i]);
    return r;
}

}  // namespace vesko::dat
