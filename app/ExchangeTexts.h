#pragma once

#include "AnsiString.h"

namespace tb {

// Texts of the exchanges, as Latin-1 bytes.
inline const AnsiString QueryingText = "Obteniendo datos de los dispositivos en la red...";
inline const AnsiString ConfiguringText = "Actualizando configuraci\xf3n en el dispositivo...";
inline const AnsiString ConfigSuccessText =
    "\xa1"
    "Dispositivo Configurado Exitosamente!.\r\n"
    "Espere que el Dispositivo se reinicie. Luego presione el Bot\xf3n Buscar para actualizar.";
inline const AnsiString ConfigFailureText =
    "Error al cambiar la configuraci\xf3n.\r\n"
    "Chequee la clave de acceso del equipo a configurar.";
inline const AnsiString WebPagePrefix = "http:\\";

}  // namespace tb
