#pragma once
// Reading a stored value as text, integer, float, date-time, Boolean, variant
// or bytes, and turning such values into the bytes a field stores, with the
// conversions of the classic dataset field. Errors raise EConvertError naming
// the field.
#include "datapacket/FormatoPacote.h"
#include "datapacket/TiposCampo.h"

#include <QByteArray>
#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QVariant>
#include <optional>

namespace vesko::conversao {

using TValor = pacote::TValor;
using TCarga = std::optional<QByteArray>;  // the bytes to store; empty optional = null

// The zero of the host's date-time numbers: 1899-12-30.
QDate DataZero();
QDateTime DataHoraZero();

// Regional forms used for text (default QLocale, no group separator).
QLocale LocaleNumeros();
QString TextoFloat(double v);
QString FormatoData();
QString FormatoHora();

QString ComoTexto(const TFieldDef& d, const TValor& v, bool utf8);
qint64 ComoInteiro(const TFieldDef& d, const TValor& v, bool utf8);
double ComoFloat(const TFieldDef& d, const TValor& v, bool utf8);
QDateTime ComoDataHora(const TFieldDef& d, const TValor& v, bool utf8);
bool ComoBooleano(const TFieldDef& d, const TValor& v, bool utf8);
QVariant ComoVariant(const TFieldDef& d, const TValor& v, bool utf8);
QByteArray ComoBytes(const TFieldDef& d, const TValor& v);

TCarga DeTexto(const TFieldDef& d, const QString& s, bool utf8);
TCarga DeInteiro(const TFieldDef& d, qint64 v, bool utf8);
TCarga DeFloat(const TFieldDef& d, double v, bool utf8);
TCarga DeDataHora(const TFieldDef& d, const QDateTime& v, bool utf8);
TCarga DeBooleano(const TFieldDef& d, bool v, bool utf8);
TCarga DeBytes(const TFieldDef& d, const QByteArray& b, bool utf8);
TCarga DeVariant(const TFieldDef& d, const QVariant& v, bool utf8);

// Decimal text of a BCD value, "C" form ("-12.50").
QString TextoDecimal(const TValor& v);
// An 18-byte packed decimal from "C" decimal text; false when it does not fit.
bool BcdDeTexto(const QString& texto, QByteArray& saida);

// True for types whose values this program reads but does not write.
bool SomenteLeitura(TFieldType t);

}  // namespace vesko::conversao
