#pragma once
// `importar`: one import run from the command line, as the tray's import
// timer starts it (the same scheduler frame, the same failed-run record),
// with the hints printed on standard error.
namespace vesko {

// 0 when the run wrote its success record, 1 when it did not, 2 when the
// import directory is not configured or does not exist.
int ExecutarComandoImportar();

}  // namespace vesko
