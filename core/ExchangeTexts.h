// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace tb {

// Texts of the exchanges, as Latin-1 bytes.
inline constexpr char QueryingText[] = "Obteniendo datos de los dispositivos en la red...";
inline constexpr char ConfiguringText[] = "Actualizando configuraci\xf3n en el dispositivo...";
inline constexpr char ConfigSuccessText[] =
    "\xa1"
    "Dispositivo Configurado Exitosamente!.\r\n"
    "Espere que el Dispositivo se reinicie. Luego presione el Bot\xf3n Buscar para actualizar.";
inline constexpr char ConfigFailureText[] =
    "Error al cambiar la configuraci\xf3n.\r\n"
    "Chequee la clave de acceso del equipo a configurar.";
inline constexpr char WebPagePrefix[] = "http:\\";
// After a query whose replies overflowed the list; the count follows.
inline constexpr char UnlistedDevicesText[] =
    "La lista est\xe1 completa. Dispositivos que respondieron y no se muestran: ";
// A device whose address field names no host to open.
inline constexpr char NoWebPageText[] = "El dispositivo no tiene una direcci\xf3n IP v\xe1lida.";

}  // namespace tb
