#include "settings/IniFile.h"

#include <algorithm>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

#include "base/Cp1252.h"
#include "base/Excecoes.h"

namespace vesko {
namespace {

QString NomeSecao(const QString& linha) {
    const QString t = linha.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return QString();
    const qsizetype fim = t.indexOf(QLatin1Char(']'));
    return fim < 0 ? t.mid(1).trimmed() : t.mid(1, fim - 1).trimmed();
}

bool EhSecao(const QString& linha) { return linha.trimmed().startsWith(QLatin1Char('[')); }

// Key of a "key=value" line; empty for comments and other lines.
QString ChaveDe(const QString& linha) {
    const QString t = linha.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('['))) return QString();
    const qsizetype igual = t.indexOf(QLatin1Char('='));
    return igual <= 0 ? QString() : t.left(igual).trimmed();
}

QString ValorDe(const QString& linha) {
    QString v = linha.mid(linha.indexOf(QLatin1Char('=')) + 1).trimmed();
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// The text of a value on its line: a value whose outer blanks or enclosing
// quotes the reading would take away goes in double quotes, so it reads back
// exactly as written (a folder "X " is not the folder "X" everywhere).
QString TextoGravado(const QString& v) {
    const bool brancos = !v.isEmpty() && (v.front().isSpace() || v.back().isSpace());
    const bool aspas = v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
                       v.back() == v.front();
    return brancos || aspas ? QLatin1Char('"') + v + QLatin1Char('"') : v;
}

bool Igual(const QString& a, const QString& b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

const char kBom[] = "\xEF\xBB\xBF";

// Stateless: a sequence cut at the end of the file is an error too, not
// something to wait for.
bool EhUtf8(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString texto = utf8(bytes);  // decodes only when kept
    return !utf8.hasError();
}

// A Windows-1252 file is told from a UTF-8 one by its bytes: a file that is
// not valid UTF-8 is Windows-1252. When a rewrite leaves a Windows-1252 file
// whose accented bytes all happen to form valid UTF-8 (a trimmed 0xA0 was its
// only other one), the next reading would take it for UTF-8 and change its
// texts. Such a file gets this comment as its first line: its "çã" are not
// UTF-8, so the file keeps reading as Windows-1252, and a later rewrite keeps
// the line as it keeps every comment.
const QString kMarcaCp1252 = QStringLiteral("; Codificação deste arquivo: Windows-1252 (não remova esta linha)");

bool LidoComoUtf8(const QByteArray& bytes) {
    const bool acentos = std::any_of(bytes.begin(), bytes.end(), [](char c) { return (c & 0x80) != 0; });
    return acentos && EhUtf8(bytes);
}

}  // namespace

TIniFile::TIniFile(QString nomeArquivo) : m_nome(std::move(nomeArquivo)) {
#ifdef _WIN32
    m_quebra = QStringLiteral("\r\n");
#else
    m_quebra = QStringLiteral("\n");
#endif
    QFile f(m_nome);
    if (!f.open(QIODevice::ReadOnly)) return;
    QByteArray bytes = f.readAll();
    if (bytes.startsWith(kBom)) {
        m_bom = true;
        bytes.remove(0, 3);
    }
    m_cp1252 = !EhUtf8(bytes);
    QString texto = m_cp1252 ? DeCp1252(bytes) : QString::fromUtf8(bytes);
    if (texto.contains(QLatin1String("\r\n"))) m_quebra = QStringLiteral("\r\n");
    texto.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    m_linhas = texto.split(QLatin1Char('\n'));
    if (!m_linhas.isEmpty() && m_linhas.back().isEmpty()) m_linhas.removeLast();
}

std::optional<QString> TIniFile::Valor(const QString& secao, const QString& chave) const {
    bool naSecao = false;
    for (const QString& l : m_linhas) {
        if (EhSecao(l)) {
            naSecao = Igual(NomeSecao(l), secao);
        } else if (naSecao && Igual(ChaveDe(l), chave)) {
            return ValorDe(l);
        }
    }
    return std::nullopt;
}

QString TIniFile::ReadString(const QString& secao, const QString& chave, const QString& padrao) const {
    return Valor(secao, chave).value_or(padrao);
}

std::optional<int> TIniFile::ConverterInteiro(const QString& texto) {
    const QString t = texto.trimmed();
    bool ok = false;
    if (t.startsWith(QLatin1Char('$')) || t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        const QString digitos = t.mid(t.startsWith(QLatin1Char('$')) ? 1 : 2);
        if (digitos.isEmpty() || digitos.size() > 8 || digitos.front() == QLatin1Char('+') ||
            digitos.front() == QLatin1Char('-'))
            return std::nullopt;
        const uint v = digitos.toUInt(&ok, 16);  // eight hex digits wrap to 32 bits
        return ok ? std::optional<int>(static_cast<int>(v)) : std::nullopt;
    }
    const int v = t.toInt(&ok, 10);
    return ok ? std::optional<int>(v) : std::nullopt;
}

int TIniFile::ReadInteger(const QString& secao, const QString& chave, int padrao) const {
    const auto v = Valor(secao, chave);
    if (!v) return padrao;
    return ConverterInteiro(*v).value_or(padrao);
}

bool TIniFile::ReadBool(const QString& secao, const QString& chave, bool padrao) const {
    return ReadInteger(secao, chave, padrao ? 1 : 0) != 0;
}

bool TIniFile::SectionExists(const QString& secao) const {
    for (const QString& l : m_linhas)
        if (EhSecao(l) && Igual(NomeSecao(l), secao)) return true;
    return false;
}

bool TIniFile::ValueExists(const QString& secao, const QString& chave) const {
    return Valor(secao, chave).has_value();
}

void TIniFile::WriteString(const QString& secao, const QString& chave, const QString& valor) {
    const QString nova = chave + QLatin1Char('=') + TextoGravado(valor);
    qsizetype inicio = -1, ultimaUtil = -1;
    for (qsizetype i = 0; i < m_linhas.size(); ++i) {
        const QString& l = m_linhas[i];
        if (EhSecao(l)) {
            if (inicio >= 0) break;  // end of our section
            if (Igual(NomeSecao(l), secao)) inicio = ultimaUtil = i;
        } else if (inicio >= 0) {
            if (Igual(ChaveDe(l), chave)) {
                m_linhas[i] = nova;
                Escrito();
                return;
            }
            if (!l.trimmed().isEmpty()) ultimaUtil = i;
        }
    }
    if (inicio >= 0) {
        m_linhas.insert(ultimaUtil + 1, nova);
    } else {
        m_linhas << QLatin1Char('[') + secao + QLatin1Char(']') << nova;
    }
    Escrito();
}

void TIniFile::WriteInteger(const QString& secao, const QString& chave, int valor) {
    WriteString(secao, chave, QString::number(valor));
}

void TIniFile::Escrito() const {
    if (!m_adiada) Salvar();
}

void TIniFile::UpdateFile() {
    m_adiada = false;
    Salvar();
}

QByteArray TIniFile::Codificado(const QString& texto) const {
    if (!m_cp1252) return m_bom ? kBom + texto.toUtf8() : texto.toUtf8();
    const QByteArray bytes = ParaCp1252(texto);
    return LidoComoUtf8(bytes) ? ParaCp1252(kMarcaCp1252 + m_quebra) + bytes : bytes;
}

void TIniFile::Salvar() const {
    const QString texto = m_linhas.join(m_quebra) + m_quebra;
    const QByteArray bytes = Codificado(texto);
    const QFileInfo info(m_nome);
    if (info.exists() && !info.isWritable())
        throw EIniFileException(QStringLiteral("Não foi possível gravar o arquivo \"%1\": somente leitura.").arg(m_nome));
    QSaveFile f(m_nome);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        throw EIniFileException(QStringLiteral("Não foi possível gravar o arquivo \"%1\": %2").arg(m_nome, f.errorString()));
}

}  // namespace vesko
