#include "ErrorText.h"

#include <cerrno>

namespace {
struct Reason {
    int errnum;
    const char* text; // UTF-8
};

// Every error that opening, writing, flushing, cutting back, removing or closing a file, or
// asking a drive for its state, can give, and the codes that the table of numbered files gives
// of its own (TextFiles.h). EWOULDBLOCK, EDEADLOCK and ENOTSUP are other names for EAGAIN,
// EDEADLK and EOPNOTSUPP on Linux, so they need no rows of their own.
constexpr Reason kReasons[] = {
    {EACCES, "No tiene permiso para hacerlo."},
    {EPERM, "La operación no está permitida."},
    {ENOSPC, "No queda espacio libre en el disco."},
    {EDQUOT, "Se ha agotado la cuota de disco del usuario."},
    {EROFS, "El disco o la carpeta es de solo lectura."},
    {ENOENT, "No existe el archivo o la carpeta."},
    {ENOTDIR, "Una parte de la ruta no es una carpeta."},
    {EISDIR, "Es una carpeta, no un archivo."},
    {ENAMETOOLONG, "El nombre del archivo o de la ruta es demasiado largo."},
    {EEXIST, "El archivo ya existe."},
    {EIO, "Error de entrada o salida en el disco."},
    {EFBIG, "El archivo es demasiado grande."},
    {ELOOP, "Hay demasiados enlaces simbólicos encadenados en la ruta."},
    {EMFILE, "El programa tiene demasiados archivos abiertos."},
    {ENFILE, "El sistema tiene demasiados archivos abiertos."},
    {EBUSY, "El disco o el archivo está ocupado."},
    {ENXIO, "El dispositivo no existe o no está disponible."},
    {ETXTBSY, "El archivo es un programa que se está ejecutando."},
    {EINVAL, "La operación no es válida para este archivo."},
    {EAGAIN, "El recurso no está disponible en este momento; inténtelo de nuevo."},
    {EBADF, "El número de archivo no es válido o no está abierto."},
    {ESPIPE, "Es una tubería con nombre, no un archivo normal."},
    {EOPNOTSUPP, "Es un socket, no un archivo normal."},
    {ENODEV, "Es un dispositivo, no un archivo normal."},
};
} // namespace

QString systemErrorText(int errnum) {
    for (const Reason& r : kReasons)
        if (r.errnum == errnum)
            return QString::fromUtf8(r.text);
    return QStringLiteral("Error del sistema número %1.").arg(errnum);
}
