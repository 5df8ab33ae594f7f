#pragma once
// Reads arbitrary bytes as a settings file through TIniFile: every section and
// key the lines show is looked up in every form, each value is written back
// and the file read again, and a fresh value and integer written must come
// back as they were. Returns an empty text, or what did not hold. Used by the
// fuzz target and by the regression test that replays what it found.
#include "base/Cp1252.h"
#include "settings/IniFile.h"

#include <QFile>
#include <algorithm>
#include <QStringDecoder>
#include <QStringList>
#include <utility>
#include <vector>

namespace vesko::teste {

namespace ini_fuzz {

// Sections and keys as the lines show them (names only; the reader decides
// what they mean). At most `limite` keys, so a big input stays cheap.
struct Nomes {
    QStringList secoes;
    std::vector<std::pair<QString, QString>> chaves;
};

// The reader takes a file that is not valid UTF-8 as Windows-1252.
inline bool EmCp1252(const QByteArray& bytes) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString decodificado = utf8(bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes);  // decodes only when kept
    return utf8.hasError();
}

// Read in the other code page after a write. A file left with ASCII only
// reads the same in both.
inline bool MudouCodigo(const QByteArray& antes, const QByteArray& depois) {
    const bool soAscii = std::all_of(depois.begin(), depois.end(), [](char c) { return (c & 0x80) == 0; });
    return EmCp1252(antes) != EmCp1252(depois) && !soAscii;
}

inline QByteArray Ler(const QString& caminho) {
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

inline QString Texto(const QByteArray& bytes) {
    const QByteArray semBom = bytes.startsWith("\xEF\xBB\xBF") ? bytes.mid(3) : bytes;
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString t = utf8(semBom);
    return utf8.hasError() ? DeCp1252(semBom) : t;
}

inline Nomes NomesDe(const QByteArray& bytes, int limite = 200) {
    Nomes n;
    QString atual;
    bool emSecao = false;
    const QStringList linhas = Texto(bytes).split(QLatin1Char('\n'));
    for (const QString& linha : linhas) {
        const QString t = linha.trimmed();
        if (t.startsWith(QLatin1Char('['))) {
            const qsizetype fim = t.indexOf(QLatin1Char(']'));
            atual = (fim < 0 ? t.mid(1) : t.mid(1, fim - 1)).trimmed();
            emSecao = true;
            n.secoes << atual;
        } else if (emSecao && !t.startsWith(QLatin1Char(';')) && t.indexOf(QLatin1Char('=')) > 0 &&
                   static_cast<int>(n.chaves.size()) < limite) {
            n.chaves.emplace_back(atual, t.left(t.indexOf(QLatin1Char('='))).trimmed());
        }
    }
    return n;
}

inline bool Gravar(const QString& caminho, const QByteArray& bytes) {
    QFile f(caminho);
    return f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size();
}

// A value safe to write on one line, taken from the input's own text (so it
// fits the file's code page).
inline QString ValorDoTeste(const QByteArray& bytes) {
    QString v = Texto(bytes).left(64);
    if (!v.isEmpty() && v.back().isHighSurrogate()) v.chop(1);
    v.remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    return v;
}

inline QString Falha(const QString& o, const QString& secao, const QString& chave, const QString& esperado,
                     const QString& lido) {
    return QStringLiteral("%1 [%2] %3: esperado \"%4\", lido \"%5\"").arg(o, secao, chave, esperado, lido);
}

}  // namespace ini_fuzz

// `pasta` is a writable folder; two files are written inside it.
inline QString ExercitarIni(const QByteArray& bytes, const QString& pasta) {
    using namespace ini_fuzz;
    const QString original = pasta + QStringLiteral("/original.ini");
    const QString copia = pasta + QStringLiteral("/copia.ini");
    if (!Gravar(original, bytes) || !Gravar(copia, bytes)) return QStringLiteral("não gravou os arquivos de teste");
    const Nomes nomes = NomesDe(bytes);

    const TIniFile lido(original);
    for (const QString& s : nomes.secoes)
        if (!lido.SectionExists(s)) return QStringLiteral("seção [%1] não encontrada").arg(s);
    std::vector<QString> valores;
    for (const auto& [s, k] : nomes.chaves) {
        if (!lido.ValueExists(s, k)) return QStringLiteral("chave [%1] %2 não encontrada").arg(s, k);
        valores.push_back(lido.ReadString(s, k, QString()));
        const auto inteiro = TIniFile::ConverterInteiro(valores.back());
        if (lido.ReadInteger(s, k, 7) != inteiro.value_or(7)) return Falha("inteiro", s, k, valores.back(), {});
        (void)lido.ReadBool(s, k, true);
    }

    // Every value written back as it was read, in one go, reads the same.
    {
        TIniFile escrita(copia);
        escrita.AdiarGravacao();
        for (std::size_t i = 0; i < valores.size(); ++i)
            escrita.WriteString(nomes.chaves[i].first, nomes.chaves[i].second, valores[i]);
        escrita.UpdateFile();
    }
    // A rewrite keeps the file's code page: a Windows-1252 file stays one
    // even when the bytes that told it from UTF-8 sat in trimmed blanks.
    if (MudouCodigo(bytes, Ler(copia))) return QStringLiteral("o código de página mudou ao regravar");
    const TIniFile relido(copia);
    for (std::size_t i = 0; i < valores.size(); ++i) {
        const auto& [s, k] = nomes.chaves[i];
        const QString v = relido.ReadString(s, k, QStringLiteral("<ausente>"));
        if (v != valores[i]) return Falha("regravado", s, k, valores[i], v);
    }
    for (const QString& s : nomes.secoes)
        if (!relido.SectionExists(s)) return QStringLiteral("seção [%1] perdida ao regravar").arg(s);

    // A fresh value and integer, written at once, come back in memory and from disk.
    const QString secao = nomes.secoes.isEmpty() ? QStringLiteral("Fuzz") : nomes.secoes.front();
    const QString valor = ValorDoTeste(bytes);
    const int numero = static_cast<int>(qHash(bytes));
    const QByteArray antesDaNova = Ler(copia);
    TIniFile nova(copia);
    nova.WriteString(secao, QStringLiteral("ValorDoTeste"), valor);
    nova.WriteInteger(secao, QStringLiteral("NumeroDoTeste"), numero);
    const TIniFile deNovo(copia);
    if (MudouCodigo(antesDaNova, Ler(copia))) return QStringLiteral("o código de página mudou ao gravar");
    for (const TIniFile* ini : {static_cast<const TIniFile*>(&nova), &deNovo}) {
        const QString v = ini->ReadString(secao, QStringLiteral("ValorDoTeste"), QStringLiteral("<ausente>"));
        if (v != valor) return Falha("novo valor", secao, QStringLiteral("ValorDoTeste"), valor, v);
        const int n = ini->ReadInteger(secao, QStringLiteral("NumeroDoTeste"), numero ^ 1);
        if (n != numero)
            return Falha("novo inteiro", secao, QStringLiteral("NumeroDoTeste"), QString::number(numero), QString::number(n));
    }
    return {};
}

}  // namespace vesko::teste
