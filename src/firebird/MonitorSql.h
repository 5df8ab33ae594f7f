#pragma once
// The SQL monitor of the QueryDebug switch: while an object of this class
// lives, every statement sent to the POS database, with its parameter
// values, is appended to "MonitorSQL.log" in the program directory, and the
// schema check and the backup note when they run. The tray form keeps one
// alive for the whole run when the switch is on.
#include <QString>

namespace vesko {

class TParams;

class TMonitorSql {
public:
    TMonitorSql();
    ~TMonitorSql();
    TMonitorSql(const TMonitorSql&) = delete;
    TMonitorSql& operator=(const TMonitorSql&) = delete;

    static bool Ativo();
    static QString NomeArquivo();  // DiretorioPrograma() + "MonitorSQL.log"

    // One entry: time, origin (the connection's identifying text), the text,
    // then one line per parameter. Does nothing while no monitor lives;
    // a log that cannot be written is skipped.
    static void Registrar(const QString& origem, const QString& texto, const TParams* params = nullptr);
};

}  // namespace vesko
