<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>main</name>
    <message>
        <source>No se puede trabajar en la carpeta «%1».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Salir</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Seguir</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::FrmMultiProspect</name>
    <message>
        <source>Gráfico de Reflectividad</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LONGITUD DE ONDA (nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulación múltiple: modelo PROSPECT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Selecciona el parámetro con el que deseas realizar múltiples simulaciones y establece un valor fijo para el resto de parámetros</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite superior&lt;/b&gt;&lt;br&gt;El último valor del parámetro elegido, en su unidad.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite inferior&lt;/b&gt;&lt;br&gt;El primer valor del parámetro elegido, en su unidad.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Intervalo&lt;/b&gt;&lt;br&gt;El paso entre dos simulaciones, en la unidad del parámetro elegido.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Establece el valor máximo, mínimo y el intervalo de variación para realizar la simulación múltiple</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ejecutar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hoja de calculo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sailr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se puede ejecutar la simulación</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Límite inferior: %1 está por encima del límite superior %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La simulación se detuvo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudo redibujar el gráfico</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::FrmMultiSailh</name>
    <message>
        <source>Indice de área foliar (LAI)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo cenital solar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo de observación</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo acimutal relativo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parámetro Hot-Spot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Observación en el plano principal</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Estructura interna de la hoja (N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contenido de clorofila a+b (u.g.cm-2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (cm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contenido de materia seca (g.cm-2)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Límite inferior:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Límite superior:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Intervalo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite inferior&lt;/b&gt;&lt;br&gt;El primer valor del barrido, en la unidad del parámetro.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite superior&lt;/b&gt;&lt;br&gt;El último valor del barrido, en la unidad del parámetro.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Intervalo&lt;/b&gt;&lt;br&gt;El paso entre dos valores del barrido.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reflectividad de la cubierta</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LONGITUD DE ONDA (nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulación múltiple: modelo SAILH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Parámetro&lt;/b&gt;&lt;br&gt;El que toma los valores del barrido; los demás quedan como en la ventana principal.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parámetro:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ejecutar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hoja de calculo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; no es un número.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La simulación no se realizó</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::FrmSplash</name>
    <message>
        <source>Aplicación del Modelo PROSPECT (Jacquemoud, S. y Baret, F., 1990. PROSPECT: a model of leaf optical properties spectra. Remote Sensing of Environment 34: 75-91)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aplicación del Modelo SAILH (Verhoef, W., 1984. Light scattering by leaf layers with application to canopy reflectance modeling: the SAIL model. Remote Sensing of Environment 16: 125-141; con la corrección del punto caliente de Kuusk, A., 1991. The hot spot effect in plant canopy reflectance. En Myneni, R. y Ross, J. (eds.), Photon-Vegetation Interactions, Springer: 139-159)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Herramienta docente de teledetección óptica de la vegetación</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Simulación de la reflectividad de hojas y cubiertas vegetales, de 400 a 2500 nm</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::FrmTulmera</name>
    <message>
        <source>&amp;Ver</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudo recalcular; se muestran los últimos resultados</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Idioma</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudo guardar el idioma elegido.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tulmera seguirá en este idioma.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>El idioma cambiará la próxima vez que se abra Tulmera.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>A&amp;yuda</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Guía de uso</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Acerca de Tulmera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reflectividad Hoja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transmisividad Hoja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LONGITUD DE ONDA (nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reflectividad Dosel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reflectividad suelo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Archivo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Ver hoja de calculo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Simulación múltiple</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Modelo Prospect</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modelo &amp;SAILH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S&amp;ailr</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Configuracion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Gráficos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Restablecer valores iniciales</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modelo PROSPECT</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modelo SAILH</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Arquitectura del dosel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reflectividad del suelo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Visibilidad atmosférica:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guardar espectros (CSV)…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guardar gráficos…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guardar gráficos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Imagen PNG (*.png)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actualizar al &amp;arrastrar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guardar espectros (CSV)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tabla CSV (*.csv)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copiar gráfico</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   R hoja </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   T hoja </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   R cubierta </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>   R suelo </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudieron guardar los gráficos «%1»; los archivos anteriores no cambiaron</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gráficos guardados en «%1-hoja.png» y «%1-cubierta.png».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudo guardar «%1»; el archivo anterior no cambió</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espectros guardados en «%1».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: el ajuste da %2; la barra queda en su extremo (%3).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valores ajustados aplicados: cada barra en su posición más cercana.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::GuideWindow</name>
    <message>
        <source>Guía de uso de Tulmera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Navegación</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Atrás</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Índice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;h3&gt;Tulmera %1&lt;/h3&gt;&lt;p&gt;Simulación de la reflectividad de hojas y cubiertas vegetales para la enseñanza de la teledetección óptica.&lt;/p&gt;&lt;p&gt;Copyright © 2026 The Tulmera developers. Licencia MIT.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Modelos&lt;/b&gt; (escritos de nuevo a partir de sus ecuaciones publicadas):&lt;/p&gt;&lt;ul&gt;&lt;li&gt;PROSPECT: Jacquemoud, S. y Baret, F., 1990. PROSPECT: a model of leaf optical properties spectra. Remote Sensing of Environment 34: 75-91.&lt;/li&gt;&lt;li&gt;SAIL: Verhoef, W., 1984. Light scattering by leaf layers with application to canopy reflectance modeling: the SAIL model. Remote Sensing of Environment 16: 125-141; con la corrección del hot spot de Kuusk, A., 1991.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Datos&lt;/b&gt;:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Constantes ópticas de la hoja: PROSPECT-4 (Féret, J.-B. et al., 2008. Remote Sensing of Environment 112: 3030-3043), cada 5 nm.&lt;/li&gt;&lt;li&gt;Espectros de suelo: a partir de la Open Soil Spectral Library (Shepherd, K. D. et al., 2022. Soil Security 7: 100061), licencia CC BY 4.0.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Bibliotecas: Qt 6 (LGPL-3.0), libxlsxwriter (BSD-2-Clause), NLopt (LGPL-2.1). Detalles en el fichero NOTICE.&lt;/p&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Acerca de Tulmera</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::Language</name>
    <message>
        <source>es</source>
        <extracomment>The language of this translation: &quot;es&quot; in the Spanish program, &quot;en&quot; in English.</extracomment>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::MeasuredPanel</name>
    <message>
        <source>Reflectividad de hoja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Transmisividad de hoja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Reflectividad de dosel</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espectro medido</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Excluir bandas de agua</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas de absorción atmosférica del agua: 1340–1450 nm y 1800–1960 nm.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quitar espectro medido</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajustar hoja</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abrir espectro &amp;medido…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espectros medidos &amp;recientes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abrir espectro medido</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espectros (*.csv *.txt *.dat *.asc);;Todos los archivos (*)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudo leer el espectro medido «%1»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Abrir espectro medido: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Muestra (columna):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contiene:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudo usar la columna %1 de «%2»</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 leída de «%2»: %3</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RMSE %1 % en %2 puntos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>RMSE: sin longitudes de onda comunes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 («%2», %3): %4; %5 valores negativos, %6 mayores que 1.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ningún espectro medido.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajustando la hoja…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajuste de la hoja cancelado.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudo ajustar la hoja.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Hoja ajustada en %1 evaluaciones del modelo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sin ajuste.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>N %1 · Cab %2 · Cw %3 · Cm %4
RMSE R %5 · T %6 · %7 evaluaciones</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::SensorDock</name>
    <message>
        <source>
Longitudes de onda: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sensor e índices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>El sensor que se muestra con la cuadrícula</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Banda</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Límites (nm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refl. hoja (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trans. hoja (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refl. dosel (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Refl. suelo (%)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Índice</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Valor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&amp;Sensor e índices</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudieron mostrar los valores del sensor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>NDVI de banda ancha (bandas %1 y %2): %3</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::app::TulmeraApp</name>
    <message>
        <source>No se pudo pasar los resultados a la hoja de cálculo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Otra ventana de Tulmera (PID %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Otra ventana de Tulmera</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> ya trabaja en este directorio. Si sigue, las dos escribirán los mismos ficheros de resultados.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No se pudieron vaciar los ficheros de resultados: </source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::widgets::CoreText</name>
    <message>
        <source>Esrtructura interna de la hoja (N):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Estructura interna de la hoja (N):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contenido de clorofila a+b (u.g.cm-2):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (cm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (cm):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contenido de materia seca (g.cm-2):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indice de área foliar (LAI):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo cenital solar:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo de observación:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo acimutal relativo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parámetro Hot-Spot:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Límite superior:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Límite inferior:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Intervalo:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cuadricula</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas IRS-WIS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas NOAA-AVHRR</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas Landsat-TM</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas SPOT-VEGETATION</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas IKONOS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas Terra-MODIS</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas Terra-ASTER</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas Sentinel-2 MSI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Bandas Landsat-8/9 OLI</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Planofilo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erectofilo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Plagiofilo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Extremofilo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Esferico</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S1:61% arena 24% limo 15% arcilla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S2:32% arena 39% limo 29% arcilla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S3:44% arena 39% limo 29% arcilla</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>S4:61% arena 26% limo 13% arcilla</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::widgets::Messages</name>
    <message>
        <source> (y %1 más)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>

Detalles: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: «%2» no es un número.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ese valor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 está fuera de %3 a %4.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mayor que %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 o más</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>menor que %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>hasta %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: debe ser un número finito.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 no se admite; debe ser %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> y </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 se redondea a %3.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 se usa; la barra queda en su extremo (%3).</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>tulmera::widgets::ParameterTip</name>
    <message>
        <source>Estructura interna de la hoja (N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sin unidad (número de capas)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cuantas más capas, más luz dispersa la hoja: refleja más y transmite menos, sobre todo en el infrarrojo cercano.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contenido de clorofila a+b (Cab)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>µg/cm²</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La clorofila absorbe en el azul y el rojo: con más clorofila la hoja refleja menos en el visible.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (Cw)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>cm</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>El agua absorbe en el infrarrojo medio, con bandas hondas hacia 1450 y 1940 nm.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contenido de materia seca (Cm)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>g/cm²</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La materia seca (celulosa, lignina, proteínas) absorbe en todo el infrarrojo, sobre todo más allá de 1300 nm.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Índice de área foliar (LAI)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>m² de hoja por m² de suelo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Con poco LAI se ve el suelo; al crecer, la cubierta refleja más en el infrarrojo cercano y menos en el rojo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo cenital solar</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>grados</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>El ángulo entre el sol y la vertical: 0 es el sol en el cenit.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo de observación</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>El ángulo entre la dirección de observación y la vertical; el signo dice a qué lado de la vertical se mira.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ángulo acimutal relativo</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>El ángulo entre los planos verticales del sol y de la observación: 0 y 180 son el plano principal.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parámetro hot spot</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>sin unidad (tamaño de la hoja / altura de la cubierta)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cuanto mayor, más ancho el pico de reflectividad que se ve al mirar desde la dirección del sol, donde no hay sombras.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>más de %1 hasta %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 a %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Unidad: %2&lt;br&gt;Barra: %3; la casilla admite %4.&lt;br&gt;%5</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Arquitectura del dosel&lt;/b&gt;&lt;br&gt;Cómo se inclinan las hojas: planófila (casi horizontales), erectófila (casi verticales), plagiófila (hacia 45°), extremófila (horizontales y verticales), esférica (en todas las direcciones).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Reflectividad del suelo&lt;/b&gt;&lt;br&gt;El suelo bajo la cubierta, por su textura (arena, limo, arcilla); se ve a través de una cubierta poco densa.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;b&gt;Visibilidad atmosférica&lt;/b&gt;&lt;br&gt;15 Km o 50 Km: fija la parte de la luz que llega difusa desde el cielo; con 15 Km hay más luz difusa.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
