#include "store/ManutencaoBackups.h"

#include <QFile>
#include <chrono>
#include <filesystem>
#include <vector>

#include "platform/DiretorioPrograma.h"

namespace fs = std::filesystem;

namespace vesko {
namespace {

fs::path Canonico(const QString& caminho) {
    std::error_code ec;
    fs::path p = fs::canonical(fs::path(QFile::encodeName(caminho).toStdString()), ec);
    return ec ? fs::path() : p;
}

// True when `filho` lies strictly below `pai` (both canonical).
bool EstaDentro(const fs::path& filho, const fs::path& pai) {
    auto f = filho.begin();
    for (auto p = pai.begin(); p != pai.end(); ++p, ++f)
        if (f == filho.end() || *f != *p) return false;
    return f != filho.end();
}

}  // namespace

QString DiretorioBackupsPrograma() { return DiretorioPrograma() + QStringLiteral("Backups/"); }

int EfetuarManutencaoBackUPs(const QString& Diretorio, int Dias) {
    if (Dias < 1) return 0;
    const fs::path programa = Canonico(DiretorioPrograma());
    const fs::path raiz = Canonico(Diretorio.trimmed().isEmpty() ? DiretorioBackupsPrograma() : Diretorio);
    if (programa.empty() || raiz.empty() || !EstaDentro(raiz, programa)) return 0;

    std::error_code ec;
    if (!fs::is_directory(fs::symlink_status(raiz, ec))) return 0;
    const auto limite = fs::file_time_type::clock::now() - std::chrono::hours(24) * Dias;

    int apagados = 0;
    std::vector<fs::path> pastas;
    fs::recursive_directory_iterator it(raiz, fs::directory_options::skip_permission_denied, ec), fim;
    for (; !ec && it != fim; it.increment(ec)) {
        const fs::file_status st = it->symlink_status(ec);
        if (ec) break;
        if (fs::is_directory(st)) {
            pastas.push_back(it->path());
        } else if (fs::is_regular_file(st)) {
            std::error_code e2;
            const auto quando = it->last_write_time(e2);
            if (!e2 && quando < limite && fs::remove(it->path(), e2) && !e2) ++apagados;
        }
    }
    // Deepest first, so a folder emptied by its children goes too; the root stays.
    for (auto p = pastas.rbegin(); p != pastas.rend(); ++p) {
        std::error_code e2;
        if (fs::is_empty(*p, e2) && !e2) fs::remove(*p, e2);
    }
    return apagados;
}

}  // namespace vesko
