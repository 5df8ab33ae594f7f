#pragma once
// The forms `vesko-dat` shows a dataset in: JSON (read and written), CSV and
// a table for people.
//
// JSON: {"fields": [{"name", "type", "size"?, "precision"?, "scale"?,
// "required"?, "subtype"?}], "rows": [{field: value}]}, rows in the dataset's
// order. Numbers are JSON numbers, Booleans true/false, BCD values decimal
// strings, dates "YYYY-MM-DD", times "HH:MM:SS[.zzz]", date-times
// "YYYY-MM-DDTHH:MM:SS[.zzz]", text as text, bytes as base64; null or a
// missing key is a null value.
#include "datapacket/ClientDataSet.h"

#include <QByteArray>
#include <QString>
#include <nlohmann/json.hpp>

namespace vesko::dat {

using Json = nlohmann::ordered_json;

Json ParaJson(TClientDataSet& ds);
// Builds `ds` from the JSON form; throws vesko::Exception (EConvertError or
// EDBClient) with a readable message when the document does not fit.
void DeJson(const Json& doc, TClientDataSet& ds);

QByteArray ParaCsv(TClientDataSet& ds);     // RFC 4180, UTF-8, header line of field names
QString ParaTabela(TClientDataSet& ds);     // fields, then rows, column-aligned

}  // namespace vesko::dat
