#pragma once
// Building the field lists of the records (internal to src/records).
#include "records/RegistroFixo.h"

namespace vesko::registro {

inline TDescricaoCampo D(const char* n, TCampoByte c) { return {n, c.Offset, TTipoCampoRegistro::Byte, 0, 1}; }
inline TDescricaoCampo D(const char* n, TCampoBooleano c) { return {n, c.Offset, TTipoCampoRegistro::Booleano, 0, 1}; }
inline TDescricaoCampo D(const char* n, TCampoInteiro c) { return {n, c.Offset, TTipoCampoRegistro::Inteiro, 0, 4}; }
inline TDescricaoCampo D(const char* n, TCampoReal c) { return {n, c.Offset, TTipoCampoRegistro::Real, 0, 4}; }
inline TDescricaoCampo D(const char* n, TCampoMoeda c) { return {n, c.Offset, TTipoCampoRegistro::Moeda, 0, 8}; }
inline TDescricaoCampo D(const char* n, TCampoTexto c) {
    return {n, c.Offset, TTipoCampoRegistro::Texto, c.Largura, c.Largura + 1};
}
inline TDescricaoCampo D(const char* n, TCampoTextoLongo c) {
    return {n, c.Offset, TTipoCampoRegistro::TextoLongo, c.Largura, c.Largura + 2};
}
inline TDescricaoCampo Marca(const char* n, TCampoTexto c) {
    return {n, c.Offset, TTipoCampoRegistro::Constante, c.Largura, c.Largura + 1};
}

}  // namespace vesko::registro
