<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="es">
<context>
    <name>ChartSaving</name>
    <message>
        <source>No se pudieron guardar los gráficos «%1»; los archivos anteriores no cambiaron</source>
        <translation>The charts “%1” could not be saved; the previous files did not change</translation>
    </message>
    <message>
        <source>Gráficos guardados en %1.</source>
        <translation>Charts saved in %1.</translation>
    </message>
    <message>
        <source>, </source>
        <translation>, </translation>
    </message>
    <message>
        <source>Imagen SVG (*.svg)</source>
        <translation>SVG image (*.svg)</translation>
    </message>
    <message>
        <source>Imagen PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Guardar gráficos</source>
        <translation>Save charts</translation>
    </message>
    <message>
        <source>PNG %1×…</source>
        <translation>PNG %1×…</translation>
    </message>
    <message>
        <source>SVG…</source>
        <translation>SVG…</translation>
    </message>
    <message>
        <source>&amp;Archivo</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>Guardar gráficos…</source>
        <translation>Save charts…</translation>
    </message>
    <message>
        <source>Guardar espectros (CSV)…</source>
        <translation>Save spectra (CSV)…</translation>
    </message>
    <message>
        <source>Guardar espectros (CSV)</source>
        <translation>Save spectra (CSV)</translation>
    </message>
    <message>
        <source>Tabla CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>Copiar gráfico</source>
        <translation>Copy chart</translation>
    </message>
    <message>
        <source>Figura PNG (%1 px)…</source>
        <translation>PNG figure (%1 px)…</translation>
    </message>
    <message>
        <source>Figura SVG…</source>
        <translation>SVG figure…</translation>
    </message>
    <message>
        <source>Solo el área del gráfico</source>
        <translation>Plot area only</translation>
    </message>
</context>
<context>
    <name>Figures</name>
    <message>
        <source>Longitud de onda (nm)</source>
        <translation>Wavelength (nm)</translation>
    </message>
    <message>
        <source>Reflectividad</source>
        <translation>Reflectance</translation>
    </message>
    <message>
        <source>Transmisividad</source>
        <translation>Transmittance</translation>
    </message>
    <message>
        <source>Reflectividad de la hoja</source>
        <translation>Leaf reflectance</translation>
    </message>
    <message>
        <source>Transmisividad de la hoja</source>
        <translation>Leaf transmittance</translation>
    </message>
    <message>
        <source>Reflectividad de la cubierta</source>
        <translation>Canopy reflectance</translation>
    </message>
    <message>
        <source>Reflectividad del suelo</source>
        <translation>Soil reflectance</translation>
    </message>
    <message>
        <source>Reflectividad medida de la hoja</source>
        <translation>Measured leaf reflectance</translation>
    </message>
    <message>
        <source>Transmisividad medida de la hoja</source>
        <translation>Measured leaf transmittance</translation>
    </message>
    <message>
        <source>Reflectividad medida de la cubierta</source>
        <translation>Measured canopy reflectance</translation>
    </message>
    <message>
        <source>Ajuste</source>
        <translation>Fit</translation>
    </message>
</context>
<context>
    <name>FileSaving</name>
    <message>
        <source>No se pudo guardar «%1»; el archivo anterior no cambió</source>
        <translation>“%1” could not be saved; the previous file did not change</translation>
    </message>
    <message>
        <source>Espectros guardados en «%1».</source>
        <translation>Spectra saved in “%1”.</translation>
    </message>
    <message>
        <source>tulmera-espectros</source>
        <translation>tulmera-spectra</translation>
    </message>
    <message>
        <source>tulmera-sesion</source>
        <translation>tulmera-session</translation>
    </message>
    <message>
        <source>tulmera-grafico</source>
        <translation>tulmera-chart</translation>
    </message>
</context>
<context>
    <name>PresentationEntry</name>
    <message>
        <source>Modo &amp;presentación</source>
        <translation>&amp;Presentation mode</translation>
    </message>
</context>
<context>
    <name>SweepSharing</name>
    <message>
        <source>Todavía no hay ninguna simulación que guardar: pulse «Ejecutar».</source>
        <translation>There is no simulation to save yet: press “Run”.</translation>
    </message>
    <message>
        <source>-curvas</source>
        <translation>-curves</translation>
    </message>
    <message>
        <source>-leyenda</source>
        <translation>-legend</translation>
    </message>
    <message>
        <source>-magnitud</source>
        <translation>-quantity</translation>
    </message>
    <message>
        <source>&amp;Ver</source>
        <translation>&amp;View</translation>
    </message>
</context>
<context>
    <name>main</name>
    <message>
        <source>No se puede trabajar en la carpeta «%1».</source>
        <translation>Cannot work in the folder “%1”.</translation>
    </message>
    <message>
        <source>Salir</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Seguir</source>
        <translation>Go on</translation>
    </message>
</context>
<context>
    <name>tulmera::app::CanopySweepWindow</name>
    <message>
        <source>Indice de área foliar (LAI)</source>
        <translation>Leaf area index (LAI)</translation>
    </message>
    <message>
        <source>Ángulo cenital solar</source>
        <translation>Sun zenith angle</translation>
    </message>
    <message>
        <source>Ángulo de observación</source>
        <translation>View angle</translation>
    </message>
    <message>
        <source>Ángulo acimutal relativo</source>
        <translation>Relative azimuth angle</translation>
    </message>
    <message>
        <source>Parámetro Hot-Spot</source>
        <translation>Hot-spot parameter</translation>
    </message>
    <message>
        <source>Observación en el plano principal</source>
        <translation>View in the principal plane</translation>
    </message>
    <message>
        <source>Estructura interna de la hoja (N)</source>
        <translation>Leaf internal structure (N)</translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (cm)</source>
        <translation>Equivalent water thickness (cm)</translation>
    </message>
    <message>
        <source>Límite inferior:</source>
        <translation>Lower limit:</translation>
    </message>
    <message>
        <source>Límite superior:</source>
        <translation>Upper limit:</translation>
    </message>
    <message>
        <source>Intervalo:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite inferior&lt;/b&gt;&lt;br&gt;El primer valor del barrido, en la unidad del parámetro.</source>
        <translation>&lt;b&gt;Lower limit&lt;/b&gt;&lt;br&gt;The first value of the sweep, in the parameter&apos;s unit.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite superior&lt;/b&gt;&lt;br&gt;El último valor del barrido, en la unidad del parámetro.</source>
        <translation>&lt;b&gt;Upper limit&lt;/b&gt;&lt;br&gt;The last value of the sweep, in the parameter&apos;s unit.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Intervalo&lt;/b&gt;&lt;br&gt;El paso entre dos valores del barrido.</source>
        <translation>&lt;b&gt;Interval&lt;/b&gt;&lt;br&gt;The step between two values of the sweep.</translation>
    </message>
    <message>
        <source>Reflectividad de la cubierta</source>
        <translation>Canopy reflectance</translation>
    </message>
    <message>
        <source>LONGITUD DE ONDA (nm)</source>
        <translation>WAVELENGTH (nm)</translation>
    </message>
    <message>
        <source>Simulación múltiple: modelo SAILH</source>
        <translation>Multiple simulation: SAILH model</translation>
    </message>
    <message>
        <source>&lt;b&gt;Parámetro&lt;/b&gt;&lt;br&gt;El que toma los valores del barrido; los demás quedan como en la ventana principal.</source>
        <translation>&lt;b&gt;Parameter&lt;/b&gt;&lt;br&gt;The one that takes the values of the sweep; the others stay as in the main window.</translation>
    </message>
    <message>
        <source>Parámetro:</source>
        <translation>Parameter:</translation>
    </message>
    <message>
        <source>Ejecutar</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Hoja de calculo</source>
        <translation>Spreadsheet</translation>
    </message>
    <message>
        <source>La simulación no se realizó</source>
        <translation>The simulation was not run</translation>
    </message>
    <message>
        <source>%1: %2 a %3</source>
        <translation>%1: %2 to %3</translation>
    </message>
    <message>
        <source>Ampliar al rango de los datos</source>
        <translation>Zoom to the data&apos;s range</translation>
    </message>
    <message>
        <source>&lt;b&gt;Ampliar&lt;/b&gt;&lt;br&gt;Sin marcar, una reflectividad se dibuja desde 0, para que un cambio pequeño no parezca grande; marcado, la escala abarca solo los datos.</source>
        <translation>&lt;b&gt;Zoom&lt;/b&gt;&lt;br&gt;Unchecked, a reflectance is drawn from 0, so that a small change does not look large; checked, the scale spans the data alone.</translation>
    </message>
    <message>
        <source>Reflectividad</source>
        <translation>Reflectance</translation>
    </message>
    <message>
        <source>Mezcla de cielo física</source>
        <translation>Physical sky mix</translation>
    </message>
    <message>
        <source>&lt;b&gt;Valores fijos&lt;/b&gt;&lt;br&gt;Los de la ventana principal al pulsar Ejecutar; el parámetro del barrido toma los suyos.</source>
        <translation>&lt;b&gt;Held values&lt;/b&gt;&lt;br&gt;Those of the main window when Run is pressed; the swept parameter takes its own.</translation>
    </message>
    <message>
        <source>Valores fijos:</source>
        <translation>Held values:</translation>
    </message>
    <message>
        <source>LAI %1, sol %2°, observación %3°, acimut %4°, hot-spot %5</source>
        <translation>LAI %1, sun %2°, view %3°, azimuth %4°, hot spot %5</translation>
    </message>
    <message>
        <source>Visibilidad %1 km</source>
        <translation>Visibility %1 km</translation>
    </message>
    <message>
        <source>Contenido de clorofila a+b (µg/cm²)</source>
        <translation>Chlorophyll a+b content (µg/cm²)</translation>
    </message>
    <message>
        <source>Contenido de materia seca (g/cm²)</source>
        <translation>Dry matter content (g/cm²)</translation>
    </message>
    <message>
        <source>Otra longitud de onda</source>
        <translation>Other wavelength</translation>
    </message>
    <message>
        <source>Longitud de onda</source>
        <translation>Wavelength</translation>
    </message>
    <message>
        <source>Límite inferior: %1 está por encima del límite superior %2.</source>
        <translation>Lower limit: %1 is above the upper limit %2.</translation>
    </message>
    <message>
        <source>La simulación no se realizó: %1</source>
        <translation>The simulation was not run: %1</translation>
    </message>
    <message>
        <source>&lt;b&gt;Longitud de onda&lt;/b&gt;&lt;br&gt;La reflectividad a esta longitud de onda (400 a 2500 nm, cada 5 nm), al elegir «Otra longitud de onda» en la lista.</source>
        <translation>&lt;b&gt;Wavelength&lt;/b&gt;&lt;br&gt;The reflectance at this wavelength (400 to 2500 nm, every 5 nm), once “Other wavelength” is chosen in the list.</translation>
    </message>
</context>
<context>
    <name>tulmera::app::GuideWindow</name>
    <message>
        <source>Guía de uso de Tulmera</source>
        <translation>Tulmera user guide</translation>
    </message>
    <message>
        <source>Navegación</source>
        <translation>Navigation</translation>
    </message>
    <message>
        <source>Atrás</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Acerca de Tulmera</source>
        <translation>About Tulmera</translation>
    </message>
    <message>
        <source>Inicio</source>
        <translation>Home</translation>
    </message>
    <message>
        <source>&lt;h3&gt;Tulmera %1&lt;/h3&gt;&lt;p&gt;Simulación de la reflectividad de hojas y cubiertas vegetales para la enseñanza de la teledetección óptica.&lt;/p&gt;&lt;p&gt;Copyright © 2026 The Tulmera developers. Licencia MIT.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Modelos&lt;/b&gt; (escritos de nuevo a partir de sus ecuaciones publicadas):&lt;/p&gt;&lt;ul&gt;&lt;li&gt;PROSPECT: Jacquemoud, S. y Baret, F., 1990. PROSPECT: a model of leaf optical properties spectra. Remote Sensing of Environment 34: 75-91.&lt;/li&gt;&lt;li&gt;PROSPECT-D: Féret, J.-B., Gitelson, A. A., Noble, S. D. y Jacquemoud, S., 2017. PROSPECT-D: towards modeling leaf optical properties through a complete lifecycle. Remote Sensing of Environment 193: 204-215.&lt;/li&gt;&lt;li&gt;PROSPECT-PRO: Féret, J.-B., Berger, K., de Boissieu, F. y Malenovský, Z., 2021. PROSPECT-PRO for estimating content of nitrogen-containing leaf proteins and other carbon-based constituents. Remote Sensing of Environment 252: 112173.&lt;/li&gt;&lt;li&gt;SAIL: Verhoef, W., 1984. Light scattering by leaf layers with application to canopy reflectance modeling: the SAIL model. Remote Sensing of Environment 16: 125-141; con la corrección del hot spot de Kuusk, A., 1991.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Datos&lt;/b&gt;:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Constantes ópticas de la hoja: PROSPECT-4 (Féret, J.-B. et al., 2008. Remote Sensing of Environment 112: 3030-3043), cada 5 nm.&lt;/li&gt;&lt;li&gt;Espectros de suelo: a partir de la Open Soil Spectral Library (Shepherd, K. D. et al., 2022. Soil Security 7: 100061), licencia CC BY 4.0.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Bibliotecas: Qt 6 (LGPL-3.0), libxlsxwriter (BSD-2-Clause), NLopt (LGPL-2.1). Detalles en el fichero NOTICE.&lt;/p&gt;</source>
        <translation>&lt;h3&gt;Tulmera %1&lt;/h3&gt;&lt;p&gt;Simulated reflectance of leaves and plant canopies for teaching optical remote sensing.&lt;/p&gt;&lt;p&gt;Copyright © 2026 The Tulmera developers. MIT licence.&lt;/p&gt;&lt;p&gt;&lt;b&gt;Models&lt;/b&gt; (written anew from their published equations):&lt;/p&gt;&lt;ul&gt;&lt;li&gt;PROSPECT: Jacquemoud, S. and Baret, F., 1990. PROSPECT: a model of leaf optical properties spectra. Remote Sensing of Environment 34: 75-91.&lt;/li&gt;&lt;li&gt;PROSPECT-D: Féret, J.-B., Gitelson, A. A., Noble, S. D. and Jacquemoud, S., 2017. PROSPECT-D: towards modeling leaf optical properties through a complete lifecycle. Remote Sensing of Environment 193: 204-215.&lt;/li&gt;&lt;li&gt;PROSPECT-PRO: Féret, J.-B., Berger, K., de Boissieu, F. and Malenovský, Z., 2021. PROSPECT-PRO for estimating content of nitrogen-containing leaf proteins and other carbon-based constituents. Remote Sensing of Environment 252: 112173.&lt;/li&gt;&lt;li&gt;SAIL: Verhoef, W., 1984. Light scattering by leaf layers with application to canopy reflectance modeling: the SAIL model. Remote Sensing of Environment 16: 125-141; with the hot-spot correction of Kuusk, A., 1991.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;&lt;b&gt;Data&lt;/b&gt;:&lt;/p&gt;&lt;ul&gt;&lt;li&gt;Leaf optical constants: PROSPECT-4 (Féret, J.-B. et al., 2008. Remote Sensing of Environment 112: 3030-3043), every 5 nm.&lt;/li&gt;&lt;li&gt;Soil spectra: after the Open Soil Spectral Library (Shepherd, K. D. et al., 2022. Soil Security 7: 100061), licence CC BY 4.0.&lt;/li&gt;&lt;/ul&gt;&lt;p&gt;Libraries: Qt 6 (LGPL-3.0), libxlsxwriter (BSD-2-Clause), NLopt (LGPL-2.1). Details in the NOTICE file.&lt;/p&gt;</translation>
    </message>
</context>
<context>
    <name>tulmera::app::HemisphereWindow</name>
    <message>
        <source>Vista hemisférica</source>
        <translation>Hemispherical view</translation>
    </message>
    <message>
        <source>Longitud de onda:</source>
        <translation>Wavelength:</translation>
    </message>
    <message>
        <source>&amp;Archivo</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Ver</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>Guardar figura PNG…</source>
        <translation>Save PNG figure…</translation>
    </message>
    <message>
        <source>Imagen PNG (*.png)</source>
        <translation>PNG image (*.png)</translation>
    </message>
    <message>
        <source>Guardar figura SVG…</source>
        <translation>Save SVG figure…</translation>
    </message>
    <message>
        <source>Imagen SVG (*.svg)</source>
        <translation>SVG image (*.svg)</translation>
    </message>
    <message>
        <source>Guardar valores (CSV)…</source>
        <translation>Save values (CSV)…</translation>
    </message>
    <message>
        <source>Tabla CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>No se pudo calcular la vista hemisférica; se muestra la anterior</source>
        <translation>The hemispherical view could not be computed; the previous one is shown</translation>
    </message>
    <message>
        <source>Reflectividad de la cubierta a %1 nm</source>
        <translation>Canopy reflectance at %1 nm</translation>
    </message>
    <message>
        <source>Reflectividad</source>
        <translation>Reflectance</translation>
    </message>
    <message>
        <source>Ángulo de observación en el plano principal (°)</source>
        <translation>View angle in the principal plane (°)</translation>
    </message>
    <message>
        <source>Sol</source>
        <translation>Sun</translation>
    </message>
    <message>
        <source>Sin valor</source>
        <translation>No value</translation>
    </message>
    <message>
        <source>Mezcla de cielo física</source>
        <translation>Physical sky mix</translation>
    </message>
    <message>
        <source>No se pudo guardar la figura «%1»; el archivo anterior no cambió</source>
        <translation>Could not save the figure “%1”; the previous file is unchanged</translation>
    </message>
    <message>
        <source>Figura guardada en «%1».</source>
        <translation>Figure saved in “%1”.</translation>
    </message>
    <message>
        <source>No se pudieron guardar los valores «%1»; el archivo anterior no cambió</source>
        <translation>Could not save the values “%1”; the previous file is unchanged</translation>
    </message>
    <message>
        <source>Valores guardados en «%1».</source>
        <translation>Values saved in “%1”.</translation>
    </message>
    <message>
        <source>Reflectividad a esa longitud de onda</source>
        <translation>Reflectance at that wavelength</translation>
    </message>
    <message>
        <source>%1 de la cubierta</source>
        <translation>Canopy %1</translation>
    </message>
    <message>
        <source>tulmera-vista-hemisferica</source>
        <translation>tulmera-hemispherical-view</translation>
    </message>
</context>
<context>
    <name>tulmera::app::Language</name>
    <message>
        <source>es</source>
        <extracomment>The language of this translation: &quot;es&quot; in the Spanish program, &quot;en&quot; in English.</extracomment>
        <translation>en</translation>
    </message>
</context>
<context>
    <name>tulmera::app::LeafModelRows</name>
    <message>
        <source>Carotenoides (Car)</source>
        <translation>Carotenoids (Car)</translation>
    </message>
    <message>
        <source>Antocianos (Anth)</source>
        <translation>Anthocyanins (Anth)</translation>
    </message>
    <message>
        <source>Pigmentos pardos (Cbrown)</source>
        <translation>Brown pigments (Cbrown)</translation>
    </message>
    <message>
        <source>Proteínas (Prot)</source>
        <translation>Proteins (Prot)</translation>
    </message>
    <message>
        <source>Otros constituyentes de carbono (CBC)</source>
        <translation>Other carbon-based constituents (CBC)</translation>
    </message>
</context>
<context>
    <name>tulmera::app::LeafSweepWindow</name>
    <message>
        <source>Gráfico de Reflectividad</source>
        <translation>Reflectance chart</translation>
    </message>
    <message>
        <source>LONGITUD DE ONDA (nm)</source>
        <translation>WAVELENGTH (nm)</translation>
    </message>
    <message>
        <source>Simulación múltiple: modelo PROSPECT</source>
        <translation>Multiple simulation: PROSPECT model</translation>
    </message>
    <message>
        <source>Selecciona el parámetro con el que deseas realizar múltiples simulaciones y establece un valor fijo para el resto de parámetros</source>
        <translation>Choose the parameter to run multiple simulations with and set a fixed value for the other parameters</translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite superior&lt;/b&gt;&lt;br&gt;El último valor del parámetro elegido, en su unidad.</source>
        <translation>&lt;b&gt;Upper limit&lt;/b&gt;&lt;br&gt;The last value of the chosen parameter, in its unit.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Límite inferior&lt;/b&gt;&lt;br&gt;El primer valor del parámetro elegido, en su unidad.</source>
        <translation>&lt;b&gt;Lower limit&lt;/b&gt;&lt;br&gt;The first value of the chosen parameter, in its unit.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Intervalo&lt;/b&gt;&lt;br&gt;El paso entre dos simulaciones, en la unidad del parámetro elegido.</source>
        <translation>&lt;b&gt;Interval&lt;/b&gt;&lt;br&gt;The step between two simulations, in the unit of the chosen parameter.</translation>
    </message>
    <message>
        <source>Establece el valor máximo, mínimo y el intervalo de variación para realizar la simulación múltiple</source>
        <translation>Set the maximum, the minimum and the step of the multiple simulation</translation>
    </message>
    <message>
        <source>Ejecutar</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Hoja de calculo</source>
        <translation>Spreadsheet</translation>
    </message>
    <message>
        <source>Sailr</source>
        <translation>Exit</translation>
    </message>
    <message>
        <source>Límite inferior: %1 está por encima del límite superior %2.</source>
        <translation>Lower limit: %1 is above the upper limit %2.</translation>
    </message>
    <message>
        <source>La simulación se detuvo</source>
        <translation>The simulation stopped</translation>
    </message>
    <message>
        <source>No se pudo redibujar el gráfico</source>
        <translation>The chart could not be redrawn</translation>
    </message>
    <message>
        <source>Reflectividad de la hoja</source>
        <translation>Leaf reflectance</translation>
    </message>
    <message>
        <source>Reflectividad</source>
        <translation>Reflectance</translation>
    </message>
    <message>
        <source>Volver a la ventana principal</source>
        <translation>Back to the main window</translation>
    </message>
    <message>
        <source>Cierra esta ventana y vuelve a la principal con sus valores</source>
        <translation>Closes this window and goes back to the main one with its values</translation>
    </message>
    <message>
        <source>No se puede ejecutar la simulación: %1</source>
        <translation>The simulation cannot run: %1</translation>
    </message>
    <message>
        <source>Simulación múltiple: modelo PROSPECT-D</source>
        <translation>Multiple simulation: PROSPECT-D model</translation>
    </message>
    <message>
        <source>Simulación múltiple: modelo PROSPECT-PRO</source>
        <translation>Multiple simulation: PROSPECT-PRO model</translation>
    </message>
</context>
<context>
    <name>tulmera::app::MainWindow</name>
    <message>
        <source>&amp;Ver</source>
        <translation>&amp;View</translation>
    </message>
    <message>
        <source>No se pudo recalcular; se muestran los últimos resultados</source>
        <translation>Could not recompute; the last results are shown</translation>
    </message>
    <message>
        <source>&amp;Idioma</source>
        <translation>&amp;Language</translation>
    </message>
    <message>
        <source>No se pudo guardar el idioma elegido.</source>
        <translation>The chosen language could not be saved.</translation>
    </message>
    <message>
        <source>Tulmera seguirá en este idioma.</source>
        <translation>Tulmera stays in this language.</translation>
    </message>
    <message>
        <source>El idioma cambiará la próxima vez que se abra Tulmera.</source>
        <translation>The language will change the next time Tulmera is opened.</translation>
    </message>
    <message>
        <source>A&amp;yuda</source>
        <translation>&amp;Help</translation>
    </message>
    <message>
        <source>&amp;Guía de uso</source>
        <translation>User &amp;guide</translation>
    </message>
    <message>
        <source>&amp;Acerca de Tulmera</source>
        <translation>&amp;About Tulmera</translation>
    </message>
    <message>
        <source>Reflectividad Hoja</source>
        <translation>Leaf reflectance</translation>
    </message>
    <message>
        <source>Transmisividad Hoja</source>
        <translation>Leaf transmittance</translation>
    </message>
    <message>
        <source>LONGITUD DE ONDA (nm)</source>
        <translation>WAVELENGTH (nm)</translation>
    </message>
    <message>
        <source>Reflectividad Dosel</source>
        <translation>Canopy reflectance</translation>
    </message>
    <message>
        <source>Reflectividad suelo</source>
        <translation>Soil reflectance</translation>
    </message>
    <message>
        <source>&amp;Archivo</source>
        <translation>&amp;File</translation>
    </message>
    <message>
        <source>&amp;Ver hoja de calculo</source>
        <translation>&amp;View spreadsheet</translation>
    </message>
    <message>
        <source>&amp;Simulación múltiple</source>
        <translation>&amp;Multiple simulation</translation>
    </message>
    <message>
        <source>&amp;Modelo Prospect</source>
        <translation>&amp;Prospect model</translation>
    </message>
    <message>
        <source>Modelo &amp;SAILH</source>
        <translation>&amp;SAILH model</translation>
    </message>
    <message>
        <source>S&amp;ailr</source>
        <translation>E&amp;xit</translation>
    </message>
    <message>
        <source>&amp;Configuracion</source>
        <translation>&amp;Settings</translation>
    </message>
    <message>
        <source>&amp;Gráficos</source>
        <translation>&amp;Charts</translation>
    </message>
    <message>
        <source>&amp;Restablecer valores iniciales</source>
        <translation>&amp;Restore start values</translation>
    </message>
    <message>
        <source>Modelo PROSPECT</source>
        <translation>PROSPECT model</translation>
    </message>
    <message>
        <source>Modelo SAILH</source>
        <translation>SAILH model</translation>
    </message>
    <message>
        <source>Arquitectura del dosel</source>
        <translation>Canopy architecture</translation>
    </message>
    <message>
        <source>Reflectividad del suelo:</source>
        <translation>Soil reflectance:</translation>
    </message>
    <message>
        <source>Visibilidad atmosférica:</source>
        <translation>Atmospheric visibility:</translation>
    </message>
    <message>
        <source>Guardar espectros (CSV)…</source>
        <translation>Save spectra (CSV)…</translation>
    </message>
    <message>
        <source>Guardar gráficos…</source>
        <translation>Save charts…</translation>
    </message>
    <message>
        <source>Actualizar al &amp;arrastrar</source>
        <translation>Update while &amp;dragging</translation>
    </message>
    <message>
        <source>Guardar espectros (CSV)</source>
        <translation>Save spectra (CSV)</translation>
    </message>
    <message>
        <source>Tabla CSV (*.csv)</source>
        <translation>CSV table (*.csv)</translation>
    </message>
    <message>
        <source>   R hoja </source>
        <translation>   leaf R </translation>
    </message>
    <message>
        <source>   T hoja </source>
        <translation>   leaf T </translation>
    </message>
    <message>
        <source>   R cubierta </source>
        <translation>   canopy R </translation>
    </message>
    <message>
        <source>   R suelo </source>
        <translation>   soil R </translation>
    </message>
    <message>
        <source>%1: el ajuste da %2; la barra queda en su extremo (%3).</source>
        <translation>%1: the fit gives %2; the bar stays at its end (%3).</translation>
    </message>
    <message>
        <source>Valores ajustados aplicados: cada barra en su posición más cercana.</source>
        <translation>Fitted values applied: each bar at its nearest position.</translation>
    </message>
    <message>
        <source>Análisis de &amp;sensibilidad</source>
        <translation>&amp;Sensitivity analysis</translation>
    </message>
    <message>
        <source>Reflectividad</source>
        <translation>Reflectance</translation>
    </message>
    <message>
        <source>Transmisividad</source>
        <translation>Transmittance</translation>
    </message>
    <message>
        <source>El ajuste del dosel usa tablas del modelo de hoja clásico; elíjalo en Configuracion.</source>
        <translation>The canopy fit uses tables of the classic leaf model; choose it in Settings.</translation>
    </message>
    <message>
        <source>&amp;Modelo de hoja</source>
        <translation>&amp;Leaf model</translation>
    </message>
    <message>
        <source>PROSPECT &amp;clásico</source>
        <translation>&amp;Classic PROSPECT</translation>
    </message>
    <message>
        <source>PROSPECT-&amp;D</source>
        <translation>PROSPECT-&amp;D</translation>
    </message>
    <message>
        <source>PROSPECT-&amp;PRO</source>
        <translation>PROSPECT-&amp;PRO</translation>
    </message>
    <message>
        <source>Vista &amp;hemisférica</source>
        <translation>&amp;Hemispherical view</translation>
    </message>
    <message>
        <source>El ajuste del dosel usa tablas de la mezcla de cielo clásica; elíjala en Configuracion.</source>
        <translation>The canopy fit uses tables of the classic sky mix; choose it in Settings.</translation>
    </message>
    <message>
        <source>Mezcla de &amp;cielo</source>
        <translation>&amp;Sky mix</translation>
    </message>
    <message>
        <source>Cómo se suman la reflectividad para la luz directa del sol y la de la luz difusa del cielo</source>
        <translation>How the reflectance for direct sunlight and the one for diffuse skylight are added up</translation>
    </message>
    <message>
        <source>&amp;Clásica (difusa ×100)</source>
        <translation>&amp;Classic (diffuse ×100)</translation>
    </message>
    <message>
        <source>&amp;Física (cociente difuso/directo)</source>
        <translation>&amp;Physical (diffuse/direct ratio)</translation>
    </message>
    <message>
        <source>La del programa: la parte difusa pesa cien veces el cociente del cielo, como un cielo casi cubierto</source>
        <translation>The program&apos;s own: the diffuse part weighs a hundred times the sky ratio, as under a mostly overcast sky</translation>
    </message>
    <message>
        <source>La parte difusa pesa el cociente de irradiancias difusa y directa: el punto caliente y los efectos angulares se ven</source>
        <translation>The diffuse part weighs the ratio of diffuse to direct irradiance: the hot spot and the angular effects show</translation>
    </message>
    <message>
        <source>Mezcla de cielo física</source>
        <translation>Physical sky mix</translation>
    </message>
    <message>
        <source>Abrir la última sesión al iniciar</source>
        <translation>Open the last session at start</translation>
    </message>
    <message>
        <source>Sesión de Tulmera (*.tulmera)</source>
        <translation>Tulmera session (*.tulmera)</translation>
    </message>
    <message>
        <source>Guardar sesión</source>
        <translation>Save session</translation>
    </message>
    <message>
        <source>Abrir sesión</source>
        <translation>Open session</translation>
    </message>
    <message>
        <source>&amp;Espectros</source>
        <translation>S&amp;pectra</translation>
    </message>
    <message>
        <source>&amp;Fijar espectros</source>
        <translation>&amp;Keep spectra</translation>
    </message>
    <message>
        <source>Deja las curvas actuales de hoja y cubierta en los gráficos, como referencia para comparar</source>
        <translation>Leaves the current leaf and canopy curves on the charts, as a reference to compare with</translation>
    </message>
    <message>
        <source>&amp;Quitar espectros fijados</source>
        <translation>&amp;Remove kept spectra</translation>
    </message>
    <message>
        <source>Quitar &amp;todos</source>
        <translation>Remove &amp;all</translation>
    </message>
    <message>
        <source>LAI %1, sol %2°</source>
        <translation>LAI %1, sun %2°</translation>
    </message>
    <message>
        <source>Ya hay %1 espectros fijados; quite alguno antes.</source>
        <translation>%1 spectra are kept already; remove one first.</translation>
    </message>
    <message>
        <source>Espectros fijados: %1</source>
        <translation>Spectra kept: %1</translation>
    </message>
    <message>
        <source>No se pudo guardar la sesión «%1»; el archivo anterior no cambió</source>
        <translation>The session “%1” could not be saved; the previous file did not change</translation>
    </message>
    <message>
        <source>Sesión guardada en «%1».</source>
        <translation>Session saved in “%1”.</translation>
    </message>
    <message>
        <source>La sesión «%1» no se abrió; nada ha cambiado.</source>
        <translation>The session “%1” was not opened; nothing has changed.</translation>
    </message>
    <message>
        <source>Sesión abierta: «%1».</source>
        <translation>Session opened: “%1”.</translation>
    </message>
    <message>
        <source>No se pudieron leer estos espectros medidos de la sesión:
%1</source>
        <translation>These measured spectra of the session could not be read:
%1</translation>
    </message>
    <message>
        <source> (R, T)</source>
        <translation> (R, T)</translation>
    </message>
    <message>
        <source>&amp;Guardar sesión…</source>
        <translation>Save sess&amp;ion…</translation>
    </message>
    <message>
        <source>A&amp;brir sesión…</source>
        <translation>Open sessio&amp;n…</translation>
    </message>
    <message>
        <source>Fijado %1</source>
        <translation>Kept %1</translation>
    </message>
    <message>
        <source>15 Km</source>
        <translation>15 km</translation>
    </message>
    <message>
        <source>50 Km</source>
        <translation>50 km</translation>
    </message>
    <message>
        <source>Ajuste</source>
        <translation>Fit</translation>
    </message>
    <message>
        <source>-hoja</source>
        <extracomment>The end of the leaf chart&apos;s file name (&quot;&lt;name&gt;-hoja.png&quot;).</extracomment>
        <translation>-leaf</translation>
    </message>
    <message>
        <source>-cubierta</source>
        <extracomment>The end of the canopy chart&apos;s file name (&quot;&lt;name&gt;-cubierta.png&quot;).</extracomment>
        <translation>-canopy</translation>
    </message>
    <message>
        <source>R medida</source>
        <translation>Measured R</translation>
    </message>
    <message>
        <source>T medida</source>
        <translation>Measured T</translation>
    </message>
</context>
<context>
    <name>tulmera::app::MeasuredPanel</name>
    <message>
        <source>Reflectividad de hoja</source>
        <translation>Leaf reflectance</translation>
    </message>
    <message>
        <source>Transmisividad de hoja</source>
        <translation>Leaf transmittance</translation>
    </message>
    <message>
        <source>Reflectividad de dosel</source>
        <translation>Canopy reflectance</translation>
    </message>
    <message>
        <source>Espectro medido</source>
        <translation>Measured spectrum</translation>
    </message>
    <message>
        <source>Excluir bandas de agua</source>
        <translation>Exclude water bands</translation>
    </message>
    <message>
        <source>Bandas de absorción atmosférica del agua: 1340–1450 nm y 1800–1960 nm.</source>
        <translation>Atmospheric water absorption bands: 1340–1450 nm and 1800–1960 nm.</translation>
    </message>
    <message>
        <source>Quitar espectro medido</source>
        <translation>Remove measured spectrum</translation>
    </message>
    <message>
        <source>Ajustar hoja</source>
        <translation>Fit leaf</translation>
    </message>
    <message>
        <source>Abrir espectro &amp;medido…</source>
        <translation>Open &amp;measured spectrum…</translation>
    </message>
    <message>
        <source>Espectros medidos &amp;recientes</source>
        <translation>&amp;Recent measured spectra</translation>
    </message>
    <message>
        <source>Abrir espectro medido</source>
        <translation>Open measured spectrum</translation>
    </message>
    <message>
        <source>Espectros (*.csv *.txt *.dat *.asc);;Todos los archivos (*)</source>
        <translation>Spectra (*.csv *.txt *.dat *.asc);;All files (*)</translation>
    </message>
    <message>
        <source>No se pudo leer el espectro medido «%1»</source>
        <translation>The measured spectrum “%1” could not be read</translation>
    </message>
    <message>
        <source>Abrir espectro medido: %1</source>
        <translation>Open measured spectrum: %1</translation>
    </message>
    <message>
        <source>Muestra (columna):</source>
        <translation>Sample (column):</translation>
    </message>
    <message>
        <source>Contiene:</source>
        <translation>Contains:</translation>
    </message>
    <message>
        <source>%1 leída de «%2»: %3</source>
        <translation>%1 read from “%2”: %3</translation>
    </message>
    <message>
        <source>RMSE: sin longitudes de onda comunes</source>
        <translation>RMSE: no wavelengths in common</translation>
    </message>
    <message>
        <source>%1 («%2», %3): %4; %5 valores negativos, %6 mayores que 1.</source>
        <translation>%1 (“%2”, %3): %4; %5 negative values, %6 above 1.</translation>
    </message>
    <message>
        <source>Ningún espectro medido.</source>
        <translation>No measured spectrum.</translation>
    </message>
    <message>
        <source>Ajustando la hoja…</source>
        <translation>Fitting the leaf…</translation>
    </message>
    <message>
        <source>Ajuste de la hoja cancelado.</source>
        <translation>Leaf fit cancelled.</translation>
    </message>
    <message>
        <source>No se pudo ajustar la hoja.</source>
        <translation>The leaf could not be fitted.</translation>
    </message>
    <message>
        <source>Hoja ajustada en %1 evaluaciones del modelo.</source>
        <translation>Leaf fitted in %1 model evaluations.</translation>
    </message>
    <message>
        <source>Sin ajuste.</source>
        <translation>No fit.</translation>
    </message>
    <message>
        <source>N %1 · Cab %2 · Cw %3 · Cm %4
RMSE R %5 · T %6 · %7 evaluaciones</source>
        <translation>N %1 · Cab %2 · Cw %3 · Cm %4
RMSE R %5 · T %6 · %7 evaluations</translation>
    </message>
    <message>
        <source>subdominios</source>
        <translation>subdomains</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Aplicar</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Abrir</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Ajustar dosel</source>
        <translation>Fit canopy</translation>
    </message>
    <message>
        <source>No se puede ajustar el dosel con %1 = %2.</source>
        <translation>The canopy cannot be fitted with %1 = %2.</translation>
    </message>
    <message>
        <source>Ajustando el dosel…</source>
        <translation>Fitting the canopy…</translation>
    </message>
    <message>
        <source>Calculando %1 simulaciones del dosel…</source>
        <translation>Computing %1 canopy simulations…</translation>
    </message>
    <message>
        <source>Ajuste del dosel cancelado.</source>
        <translation>Canopy fit cancelled.</translation>
    </message>
    <message>
        <source>No se pudo ajustar el dosel.</source>
        <translation>The canopy could not be fitted.</translation>
    </message>
    <message>
        <source>Dosel ajustado: %1 simulaciones de la tabla y %2 del refinamiento.</source>
        <translation>Canopy fitted: %1 simulations in the table and %2 in the refinement.</translation>
    </message>
    <message>
        <source>LAI %1 · N %2 · Cab %3 · Cw %4 · %5
RMSE %6
Tabla (%7 mejores de %8): %9 · RMSE %10</source>
        <translation>LAI %1 · N %2 · Cab %3 · Cw %4 · %5
RMSE %6
Table (best %7 of %8): %9 · RMSE %10</translation>
    </message>
    <message>
        <source>Compara la reflectividad de dosel medida con %1 simulaciones (LAI 0.1–8, Cab 5–90, Cw 0.001–0.05, Cm 0.002–0.02, N 1–2.5) hechas con la geometría, la distribución foliar, el suelo y la visibilidad de la ventana, promedia las %2 más parecidas y afina el resultado con el modelo.</source>
        <translation>Compares the measured canopy reflectance with %1 simulations (LAI 0.1–8, Cab 5–90, Cw 0.001–0.05, Cm 0.002–0.02, N 1–2.5) made with the window’s geometry, leaf angle distribution, soil and visibility, averages the %2 closest ones and refines the result with the model.</translation>
    </message>
    <message>
        <source>RMSE R %1 · T %2 · %3 evaluaciones</source>
        <translation>RMSE R %1 · T %2 · %3 evaluations</translation>
    </message>
    <message>
        <source>Espectro &amp;medido</source>
        <translation>&amp;Measured spectrum</translation>
    </message>
    <message>
        <source>RMSE %1 puntos porcentuales en %2 longitudes de onda</source>
        <translation>RMSE %1 percentage points over %2 wavelengths</translation>
    </message>
    <message>
        <source>%1 puntos porcentuales</source>
        <translation>%1 percentage points</translation>
    </message>
    <message>
        <source>No se pudo usar la columna %1 de «%2».</source>
        <translation>Column %1 of “%2” could not be used.</translation>
    </message>
</context>
<context>
    <name>tulmera::app::SensitivityWindow</name>
    <message>
        <source>Estructura de la hoja (N)</source>
        <translation>Leaf structure (N)</translation>
    </message>
    <message>
        <source>Clorofila a+b, Cab (µg/cm²)</source>
        <translation>Chlorophyll a+b, Cab (µg/cm²)</translation>
    </message>
    <message>
        <source>Agua, Cw (cm)</source>
        <translation>Water, Cw (cm)</translation>
    </message>
    <message>
        <source>Materia seca, Cm (g/cm²)</source>
        <translation>Dry matter, Cm (g/cm²)</translation>
    </message>
    <message>
        <source>Índice de área foliar (LAI)</source>
        <translation>Leaf area index (LAI)</translation>
    </message>
    <message>
        <source>Ángulo cenital solar (°)</source>
        <translation>Sun zenith angle (°)</translation>
    </message>
    <message>
        <source>Ángulo de observación (°)</source>
        <translation>View angle (°)</translation>
    </message>
    <message>
        <source>Ángulo acimutal relativo (°)</source>
        <translation>Relative azimuth angle (°)</translation>
    </message>
    <message>
        <source>Parámetro Hot-Spot</source>
        <translation>Hot-spot parameter</translation>
    </message>
    <message>
        <source>Análisis de sensibilidad</source>
        <translation>Sensitivity analysis</translation>
    </message>
    <message>
        <source>Parte de cada parámetro en los efectos totales (ST), 400 a 2500 nm</source>
        <translation>Share of each parameter in the total effects (ST), 400 to 2500 nm</translation>
    </message>
    <message>
        <source>S1 (claro) y ST (intenso) con su intervalo del 95 %</source>
        <translation>S1 (light) and ST (full colour) with their 95 % interval</translation>
    </message>
    <message>
        <source>Variar</source>
        <translation>Vary</translation>
    </message>
    <message>
        <source>Desde (o valor fijo)</source>
        <translation>From (or held value)</translation>
    </message>
    <message>
        <source>Hasta</source>
        <translation>To</translation>
    </message>
    <message>
        <source>Muestras base (N):</source>
        <translation>Base samples (N):</translation>
    </message>
    <message>
        <source>&lt;b&gt;Muestras base&lt;/b&gt;&lt;br&gt;Una potencia de dos: la secuencia de Sobol solo está equilibrada sobre potencias de dos. Se hacen N·(k + 2) simulaciones.</source>
        <translation>&lt;b&gt;Base samples&lt;/b&gt;&lt;br&gt;A power of two: a Sobol sequence is balanced only over powers of two. N·(k + 2) simulations are run.</translation>
    </message>
    <message>
        <source>Ejecutar</source>
        <translation>Run</translation>
    </message>
    <message>
        <source>Cancelar</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>%1: un extremo no es un número.</source>
        <translation>%1: an end is not a number.</translation>
    </message>
    <message>
        <source>%1: el extremo inferior debe ser menor que el superior.</source>
        <translation>%1: the lower end must be below the upper end.</translation>
    </message>
    <message>
        <source>%1: rango no válido (%2)</source>
        <translation>%1: invalid range (%2)</translation>
    </message>
    <message>
        <source>Hay que variar al menos dos parámetros.</source>
        <translation>At least two parameters must vary.</translation>
    </message>
    <message>
        <source>Calculando %1 simulaciones…</source>
        <translation>Computing %1 simulations…</translation>
    </message>
    <message>
        <source>Análisis terminado.</source>
        <translation>Analysis finished.</translation>
    </message>
    <message>
        <source>Análisis cancelado; se muestra el anterior.</source>
        <translation>Analysis cancelled; the previous one is shown.</translation>
    </message>
    <message>
        <source>El análisis no se realizó: </source>
        <translation>The analysis was not carried out: </translation>
    </message>
    <message>
        <source>Todavía no hay ningún análisis que guardar: pulse «Ejecutar».</source>
        <translation>There is no analysis to save yet: press “Run”.</translation>
    </message>
    <message>
        <source>Carotenoides, Car (µg/cm²)</source>
        <translation>Carotenoids, Car (µg/cm²)</translation>
    </message>
    <message>
        <source>Antocianos, Anth (µg/cm²)</source>
        <translation>Anthocyanins, Anth (µg/cm²)</translation>
    </message>
    <message>
        <source>Pigmentos pardos, Cbrown (0 a 1)</source>
        <translation>Brown pigments, Cbrown (0 to 1)</translation>
    </message>
    <message>
        <source>Proteínas, Prot (g/cm²)</source>
        <translation>Proteins, Prot (g/cm²)</translation>
    </message>
    <message>
        <source>Otros constituyentes de carbono, CBC (g/cm²)</source>
        <translation>Other carbon-based constituents, CBC (g/cm²)</translation>
    </message>
    <message>
        <source>Índices de primer orden</source>
        <translation>First-order indices</translation>
    </message>
    <message>
        <source>&lt;b&gt;Índices de primer orden&lt;/b&gt;&lt;br&gt;Dibuja sobre las áreas, en el tono oscuro de cada parámetro, su S1: la parte de la varianza que explica él solo, sin sus interacciones (escala de 0 a 1).</source>
        <translation>&lt;b&gt;First-order indices&lt;/b&gt;&lt;br&gt;Draws over the areas, in each parameter&apos;s dark shade, its S1: the share of the variance it explains alone, without its interactions (scale 0 to 1).</translation>
    </message>
    <message>
        <source>-areas</source>
        <translation>-areas</translation>
    </message>
    <message>
        <source>-barras</source>
        <translation>-bars</translation>
    </message>
    <message>
        <source>&amp;Ver</source>
        <translation>&amp;View</translation>
    </message>
</context>
<context>
    <name>tulmera::app::SensorDock</name>
    <message>
        <source>
Longitudes de onda: </source>
        <translation>
Wavelengths: </translation>
    </message>
    <message>
        <source>Sensor e índices</source>
        <translation>Sensor and indices</translation>
    </message>
    <message>
        <source>El sensor que se muestra con la cuadrícula</source>
        <translation>The sensor shown with the grid</translation>
    </message>
    <message>
        <source>Banda</source>
        <translation>Band</translation>
    </message>
    <message>
        <source>Límites (nm)</source>
        <translation>Limits (nm)</translation>
    </message>
    <message>
        <source>Refl. hoja (%)</source>
        <translation>Leaf refl. (%)</translation>
    </message>
    <message>
        <source>Trans. hoja (%)</source>
        <translation>Leaf trans. (%)</translation>
    </message>
    <message>
        <source>Refl. dosel (%)</source>
        <translation>Canopy refl. (%)</translation>
    </message>
    <message>
        <source>Refl. suelo (%)</source>
        <translation>Soil refl. (%)</translation>
    </message>
    <message>
        <source>Índice</source>
        <translation>Index</translation>
    </message>
    <message>
        <source>Valor</source>
        <translation>Value</translation>
    </message>
    <message>
        <source>&amp;Sensor e índices</source>
        <translation>&amp;Sensor and indices</translation>
    </message>
    <message>
        <source>No se pudieron mostrar los valores del sensor</source>
        <translation>The sensor&apos;s values could not be shown</translation>
    </message>
    <message>
        <source>NDVI de banda ancha (bandas %1 y %2): %3</source>
        <translation>Broadband NDVI (bands %1 and %2): %3</translation>
    </message>
    <message>
        <source>fAPAR</source>
        <translation>fAPAR</translation>
    </message>
    <message>
        <source>fCover</source>
        <translation>fCover</translation>
    </message>
    <message>
        <source>Albedo PAR (400–700 nm)</source>
        <translation>PAR albedo (400–700 nm)</translation>
    </message>
    <message>
        <source>Albedo NIR (700–1300 nm)</source>
        <translation>NIR albedo (700–1300 nm)</translation>
    </message>
    <message>
        <source>Albedo onda corta (400–2500 nm)</source>
        <translation>Shortwave albedo (400–2500 nm)</translation>
    </message>
    <message>
        <source>Flujo del dosel</source>
        <translation>Canopy flux</translation>
    </message>
    <message>
        <source>No se pudieron calcular los flujos del dosel</source>
        <translation>The canopy fluxes could not be computed</translation>
    </message>
    <message>
        <source>Región</source>
        <translation>Region</translation>
    </message>
    <message>
        <source>Índices del espectro cada 5 nm</source>
        <translation>Indices from the 5 nm spectrum</translation>
    </message>
    <message>
        <source>Índices de las bandas del sensor</source>
        <translation>Indices from the sensor&apos;s bands</translation>
    </message>
    <message>
        <source>&lt;b&gt;Origen de los índices&lt;/b&gt;&lt;br&gt;Del espectro simulado cada 5 nm, en las longitudes de onda de cada fórmula, o de los valores de banda del sensor: cada longitud de onda toma el valor de la banda que la contiene.</source>
        <translation>&lt;b&gt;Source of the indices&lt;/b&gt;&lt;br&gt;The simulated spectrum every 5 nm, at each formula&apos;s wavelengths, or the sensor&apos;s band values: each wavelength takes the value of the band that holds it.</translation>
    </message>
    <message>
        <source>Bandas</source>
        <translation>Bands</translation>
    </message>
    <message>
        <source>Con las bandas de %1: cada ρλ es el valor medio de la banda que contiene λ; «—» donde ninguna banda la contiene.</source>
        <translation>From the bands of %1: each ρλ is the mean value of the band that holds λ; “—” where no band holds it.</translation>
    </message>
    <message>
        <source>Del espectro simulado cada 5 nm, en las longitudes de onda exactas de cada fórmula; no dependen del sensor.</source>
        <translation>From the simulated spectrum every 5 nm, at each formula&apos;s exact wavelengths; they do not depend on the sensor.</translation>
    </message>
</context>
<context>
    <name>tulmera::app::SplashWindow</name>
    <message>
        <source>Aplicación del Modelo PROSPECT (Jacquemoud, S. y Baret, F., 1990. PROSPECT: a model of leaf optical properties spectra. Remote Sensing of Environment 34: 75-91)</source>
        <translation>Application of the PROSPECT model (Jacquemoud, S. and Baret, F., 1990. PROSPECT: a model of leaf optical properties spectra. Remote Sensing of Environment 34: 75-91)</translation>
    </message>
    <message>
        <source>Aplicación del Modelo SAILH (Verhoef, W., 1984. Light scattering by leaf layers with application to canopy reflectance modeling: the SAIL model. Remote Sensing of Environment 16: 125-141; con la corrección del punto caliente de Kuusk, A., 1991. The hot spot effect in plant canopy reflectance. En Myneni, R. y Ross, J. (eds.), Photon-Vegetation Interactions, Springer: 139-159)</source>
        <translation>Application of the SAILH model (Verhoef, W., 1984. Light scattering by leaf layers with application to canopy reflectance modeling: the SAIL model. Remote Sensing of Environment 16: 125-141; with the hot-spot correction of Kuusk, A., 1991. The hot spot effect in plant canopy reflectance. In Myneni, R. and Ross, J. (eds.), Photon-Vegetation Interactions, Springer: 139-159)</translation>
    </message>
    <message>
        <source>Herramienta docente de teledetección óptica de la vegetación</source>
        <translation>A teaching tool for the optical remote sensing of vegetation</translation>
    </message>
    <message>
        <source>Simulación de la reflectividad de hojas y cubiertas vegetales, de 400 a 2500 nm</source>
        <translation>Simulated reflectance of leaves and plant canopies, from 400 to 2500 nm</translation>
    </message>
</context>
<context>
    <name>tulmera::app::TulmeraApp</name>
    <message>
        <source>No se pudo pasar los resultados a la hoja de cálculo</source>
        <translation>The results could not be passed to the spreadsheet</translation>
    </message>
    <message>
        <source>Otra ventana de Tulmera (PID %1)</source>
        <translation>Another Tulmera window (PID %1)</translation>
    </message>
    <message>
        <source>Otra ventana de Tulmera</source>
        <translation>Another Tulmera window</translation>
    </message>
    <message>
        <source> ya trabaja en este directorio. Si sigue, las dos escribirán los mismos ficheros de resultados.</source>
        <translation> already works in this directory. If you go on, both will write the same result files.</translation>
    </message>
    <message>
        <source>No se pudieron vaciar los ficheros de resultados: </source>
        <translation>The result files could not be emptied: </translation>
    </message>
</context>
<context>
    <name>tulmera::widgets::CoreText</name>
    <message>
        <source>Esrtructura interna de la hoja (N):</source>
        <translation>Leaf internal structure (N):</translation>
    </message>
    <message>
        <source>Estructura interna de la hoja (N):</source>
        <translation>Leaf internal structure (N):</translation>
    </message>
    <message>
        <source>Contenido de clorofila a+b (u.g.cm-2):</source>
        <translation>Chlorophyll a+b content (µg/cm²):</translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (cm)</source>
        <translation>Equivalent water thickness (cm)</translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (cm):</source>
        <translation>Equivalent water thickness (cm):</translation>
    </message>
    <message>
        <source>Contenido de materia seca (g.cm-2):</source>
        <translation>Dry matter content (g/cm²):</translation>
    </message>
    <message>
        <source>Indice de área foliar (LAI):</source>
        <translation>Leaf area index (LAI):</translation>
    </message>
    <message>
        <source>Ángulo cenital solar:</source>
        <translation>Sun zenith angle:</translation>
    </message>
    <message>
        <source>Ángulo de observación:</source>
        <translation>View angle:</translation>
    </message>
    <message>
        <source>Ángulo acimutal relativo:</source>
        <translation>Relative azimuth angle:</translation>
    </message>
    <message>
        <source>Parámetro Hot-Spot:</source>
        <translation>Hot-spot parameter:</translation>
    </message>
    <message>
        <source>Límite superior:</source>
        <translation>Upper limit:</translation>
    </message>
    <message>
        <source>Límite inferior:</source>
        <translation>Lower limit:</translation>
    </message>
    <message>
        <source>Intervalo:</source>
        <translation>Interval:</translation>
    </message>
    <message>
        <source>Cuadricula</source>
        <translation>Grid</translation>
    </message>
    <message>
        <source>Bandas IRS-WIS</source>
        <translation>IRS-WIS bands</translation>
    </message>
    <message>
        <source>Bandas NOAA-AVHRR</source>
        <translation>NOAA-AVHRR bands</translation>
    </message>
    <message>
        <source>Bandas Landsat-TM</source>
        <translation>Landsat-TM bands</translation>
    </message>
    <message>
        <source>Bandas SPOT-VEGETATION</source>
        <translation>SPOT-VEGETATION bands</translation>
    </message>
    <message>
        <source>Bandas IKONOS</source>
        <translation>IKONOS bands</translation>
    </message>
    <message>
        <source>Bandas Terra-MODIS</source>
        <translation>Terra-MODIS bands</translation>
    </message>
    <message>
        <source>Bandas Terra-ASTER</source>
        <translation>Terra-ASTER bands</translation>
    </message>
    <message>
        <source>Bandas Sentinel-2 MSI</source>
        <translation>Sentinel-2 MSI bands</translation>
    </message>
    <message>
        <source>Bandas Landsat-8/9 OLI</source>
        <translation>Landsat-8/9 OLI bands</translation>
    </message>
    <message>
        <source>Planofilo</source>
        <translation>Planophile</translation>
    </message>
    <message>
        <source>Erectofilo</source>
        <translation>Erectophile</translation>
    </message>
    <message>
        <source>Plagiofilo</source>
        <translation>Plagiophile</translation>
    </message>
    <message>
        <source>Extremofilo</source>
        <translation>Extremophile</translation>
    </message>
    <message>
        <source>Esferico</source>
        <translation>Spherical</translation>
    </message>
    <message>
        <source>S1:61% arena 24% limo 15% arcilla</source>
        <translation>S1: 61% sand 24% silt 15% clay</translation>
    </message>
    <message>
        <source>S2:32% arena 39% limo 29% arcilla</source>
        <translation>S2: 32% sand 39% silt 29% clay</translation>
    </message>
    <message>
        <source>S3:44% arena 39% limo 29% arcilla</source>
        <translation>S3: 44% sand 39% silt 29% clay</translation>
    </message>
    <message>
        <source>S4:61% arena 26% limo 13% arcilla</source>
        <translation>S4: 61% sand 26% silt 13% clay</translation>
    </message>
    <message>
        <source>azul profundo</source>
        <translation>deep blue</translation>
    </message>
    <message>
        <source>azul</source>
        <translation>blue</translation>
    </message>
    <message>
        <source>verde</source>
        <translation>green</translation>
    </message>
    <message>
        <source>rojo</source>
        <translation>red</translation>
    </message>
    <message>
        <source>borde rojo</source>
        <translation>red edge</translation>
    </message>
    <message>
        <source>IRC</source>
        <translation>NIR</translation>
    </message>
    <message>
        <source>SWIR</source>
        <translation>SWIR</translation>
    </message>
    <message>
        <source>Carotenoides (Car, µg/cm²):</source>
        <translation>Carotenoids (Car, µg/cm²):</translation>
    </message>
    <message>
        <source>Antocianos (Anth, µg/cm²):</source>
        <translation>Anthocyanins (Anth, µg/cm²):</translation>
    </message>
    <message>
        <source>Pigmentos pardos (Cbrown, 0 a 1):</source>
        <translation>Brown pigments (Cbrown, 0 to 1):</translation>
    </message>
    <message>
        <source>Proteínas (Prot, g/cm²):</source>
        <translation>Proteins (Prot, g/cm²):</translation>
    </message>
    <message>
        <source>Otros constituyentes de carbono (CBC, g/cm²):</source>
        <translation>Other carbon-based constituents (CBC, g/cm²):</translation>
    </message>
</context>
<context>
    <name>tulmera::widgets::Messages</name>
    <message>
        <source> (y %1 más)</source>
        <translation> (and %1 more)</translation>
    </message>
    <message>
        <source>

Detalles: </source>
        <translation>

Details: </translation>
    </message>
    <message>
        <source>%1: «%2» no es un número.</source>
        <translation>%1: “%2” is not a number.</translation>
    </message>
    <message>
        <source>ese valor</source>
        <translation>that value</translation>
    </message>
    <message>
        <source>%1: %2 está fuera de %3 a %4.</source>
        <translation>%1: %2 is outside %3 to %4.</translation>
    </message>
    <message>
        <source>mayor que %1</source>
        <translation>greater than %1</translation>
    </message>
    <message>
        <source>%1 o más</source>
        <translation>%1 or more</translation>
    </message>
    <message>
        <source>menor que %1</source>
        <translation>less than %1</translation>
    </message>
    <message>
        <source>hasta %1</source>
        <translation>at most %1</translation>
    </message>
    <message>
        <source>%1: debe ser un número finito.</source>
        <translation>%1: must be a finite number.</translation>
    </message>
    <message>
        <source>%1: %2 no se admite; debe ser %3.</source>
        <translation>%1: %2 is not accepted; it must be %3.</translation>
    </message>
    <message>
        <source> y </source>
        <translation> and </translation>
    </message>
    <message>
        <source>%1: %2 se redondea a %3.</source>
        <translation>%1: %2 is rounded to %3.</translation>
    </message>
    <message>
        <source>%1: %2 se usa; la barra queda en su extremo (%3).</source>
        <translation>%1: %2 is used; the bar stays at its end (%3).</translation>
    </message>
    <message>
        <source>%1: «%2» no es un número; escriba el decimal con punto: %3.</source>
        <translation>%1: “%2” is not a number; type the decimal with a point: %3.</translation>
    </message>
</context>
<context>
    <name>tulmera::widgets::OutputTexts</name>
    <message>
        <source>Parametros modelo PROSPECT</source>
        <translation>PROSPECT model parameters</translation>
    </message>
    <message>
        <source>Parametros modelo SAILH</source>
        <translation>SAILH model parameters</translation>
    </message>
    <message>
        <source>Arquitectura Dosel: </source>
        <translation>Canopy architecture: </translation>
    </message>
    <message>
        <source>Suelo:  </source>
        <translation>Soil: </translation>
    </message>
    <message>
        <source>Cenital Solar = </source>
        <translation>Sun zenith = </translation>
    </message>
    <message>
        <source>Cenital obs. = </source>
        <translation>View zenith = </translation>
    </message>
    <message>
        <source>Acimutal Rel. = </source>
        <translation>Relative azimuth = </translation>
    </message>
    <message>
        <source>Hot Spot = </source>
        <translation>Hot spot = </translation>
    </message>
    <message>
        <source>Long. Onda</source>
        <translation>Wavelength</translation>
    </message>
    <message>
        <source>Reflec. Hoja</source>
        <translation>Leaf reflectance</translation>
    </message>
    <message>
        <source>Trans. Hoja</source>
        <translation>Leaf transmittance</translation>
    </message>
    <message>
        <source>Reflec. Dosel</source>
        <translation>Canopy reflectance</translation>
    </message>
    <message>
        <source>u.g.cm-2</source>
        <translation>µg/cm²</translation>
    </message>
    <message>
        <source>g.cm-2</source>
        <translation>g/cm²</translation>
    </message>
    <message>
        <source>Lon.onda    Reflectividad     Transmisividad</source>
        <translation>Wavelength    Reflectance     Transmittance</translation>
    </message>
</context>
<context>
    <name>tulmera::widgets::ParameterTip</name>
    <message>
        <source>Estructura interna de la hoja (N)</source>
        <translation>Leaf internal structure (N)</translation>
    </message>
    <message>
        <source>sin unidad (número de capas)</source>
        <translation>no unit (number of layers)</translation>
    </message>
    <message>
        <source>Cuantas más capas, más luz dispersa la hoja: refleja más y transmite menos, sobre todo en el infrarrojo cercano.</source>
        <translation>The more layers, the more light the leaf scatters: it reflects more and transmits less, above all in the near infrared.</translation>
    </message>
    <message>
        <source>Contenido de clorofila a+b (Cab)</source>
        <translation>Chlorophyll a+b content (Cab)</translation>
    </message>
    <message>
        <source>µg/cm²</source>
        <translation>µg/cm²</translation>
    </message>
    <message>
        <source>La clorofila absorbe en el azul y el rojo: con más clorofila la hoja refleja menos en el visible.</source>
        <translation>Chlorophyll absorbs in the blue and the red: with more chlorophyll the leaf reflects less in the visible.</translation>
    </message>
    <message>
        <source>Espesor equivalente de agua (Cw)</source>
        <translation>Equivalent water thickness (Cw)</translation>
    </message>
    <message>
        <source>cm</source>
        <translation>cm</translation>
    </message>
    <message>
        <source>El agua absorbe en el infrarrojo medio, con bandas hondas hacia 1450 y 1940 nm.</source>
        <translation>Water absorbs in the shortwave infrared, with deep bands near 1450 and 1940 nm.</translation>
    </message>
    <message>
        <source>Contenido de materia seca (Cm)</source>
        <translation>Dry matter content (Cm)</translation>
    </message>
    <message>
        <source>g/cm²</source>
        <translation>g/cm²</translation>
    </message>
    <message>
        <source>La materia seca (celulosa, lignina, proteínas) absorbe en todo el infrarrojo, sobre todo más allá de 1300 nm.</source>
        <translation>Dry matter (cellulose, lignin, proteins) absorbs across the infrared, above all beyond 1300 nm.</translation>
    </message>
    <message>
        <source>Índice de área foliar (LAI)</source>
        <translation>Leaf area index (LAI)</translation>
    </message>
    <message>
        <source>m² de hoja por m² de suelo</source>
        <translation>m² of leaf per m² of ground</translation>
    </message>
    <message>
        <source>Con poco LAI se ve el suelo; al crecer, la cubierta refleja más en el infrarrojo cercano y menos en el rojo.</source>
        <translation>With a low LAI the soil shows; as it grows, the canopy reflects more in the near infrared and less in the red.</translation>
    </message>
    <message>
        <source>Ángulo cenital solar</source>
        <translation>Sun zenith angle</translation>
    </message>
    <message>
        <source>grados</source>
        <translation>degrees</translation>
    </message>
    <message>
        <source>El ángulo entre el sol y la vertical: 0 es el sol en el cenit.</source>
        <translation>The angle between the sun and the vertical: 0 is the sun at the zenith.</translation>
    </message>
    <message>
        <source>Ángulo de observación</source>
        <translation>View angle</translation>
    </message>
    <message>
        <source>El ángulo entre la dirección de observación y la vertical; el signo dice a qué lado de la vertical se mira.</source>
        <translation>The angle between the viewing direction and the vertical; its sign tells on which side of the vertical one looks from.</translation>
    </message>
    <message>
        <source>Ángulo acimutal relativo</source>
        <translation>Relative azimuth angle</translation>
    </message>
    <message>
        <source>El ángulo entre los planos verticales del sol y de la observación: 0 y 180 son el plano principal.</source>
        <translation>The angle between the vertical planes of the sun and of the view: 0 and 180 are the principal plane.</translation>
    </message>
    <message>
        <source>Parámetro hot spot</source>
        <translation>Hot-spot parameter</translation>
    </message>
    <message>
        <source>sin unidad (tamaño de la hoja / altura de la cubierta)</source>
        <translation>no unit (leaf size / canopy height)</translation>
    </message>
    <message>
        <source>Cuanto mayor, más ancho el pico de reflectividad que se ve al mirar desde la dirección del sol, donde no hay sombras.</source>
        <translation>The larger, the wider the reflectance peak seen when looking from the sun&apos;s direction, where there are no shadows.</translation>
    </message>
    <message>
        <source>más de %1 hasta %2</source>
        <translation>more than %1 up to %2</translation>
    </message>
    <message>
        <source>%1 a %2</source>
        <translation>%1 to %2</translation>
    </message>
    <message>
        <source>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Unidad: %2&lt;br&gt;Barra: %3; la casilla admite %4.&lt;br&gt;%5</source>
        <translation>&lt;b&gt;%1&lt;/b&gt;&lt;br&gt;Unit: %2&lt;br&gt;Bar: %3; the box accepts %4.&lt;br&gt;%5</translation>
    </message>
    <message>
        <source>&lt;b&gt;Arquitectura del dosel&lt;/b&gt;&lt;br&gt;Cómo se inclinan las hojas: planófila (casi horizontales), erectófila (casi verticales), plagiófila (hacia 45°), extremófila (horizontales y verticales), esférica (en todas las direcciones).</source>
        <translation>&lt;b&gt;Canopy architecture&lt;/b&gt;&lt;br&gt;How the leaves are inclined: planophile (nearly horizontal), erectophile (nearly vertical), plagiophile (around 45°), extremophile (horizontal and vertical), spherical (in every direction).</translation>
    </message>
    <message>
        <source>&lt;b&gt;Reflectividad del suelo&lt;/b&gt;&lt;br&gt;El suelo bajo la cubierta, por su textura (arena, limo, arcilla); se ve a través de una cubierta poco densa.</source>
        <translation>&lt;b&gt;Soil reflectance&lt;/b&gt;&lt;br&gt;The soil under the canopy, by its texture (sand, silt, clay); it shows through a sparse canopy.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Visibilidad atmosférica&lt;/b&gt;&lt;br&gt;15 Km o 50 Km: fija la parte de la luz que llega difusa desde el cielo; con 15 Km hay más luz difusa.</source>
        <translation>&lt;b&gt;Atmospheric visibility&lt;/b&gt;&lt;br&gt;15 km or 50 km: sets the share of light that comes diffuse from the sky; with 15 km there is more diffuse light.</translation>
    </message>
    <message>
        <source>Contenido de carotenoides (Car)</source>
        <translation>Carotenoid content (Car)</translation>
    </message>
    <message>
        <source>Los carotenoides absorben en el azul y el verde azulado; se ven cuando la clorofila se retira en otoño.</source>
        <translation>Carotenoids absorb in the blue and blue-green; they show when chlorophyll withdraws in autumn.</translation>
    </message>
    <message>
        <source>Contenido de antocianos (Anth)</source>
        <translation>Anthocyanin content (Anth)</translation>
    </message>
    <message>
        <source>Los antocianos absorben en el verde, hacia 550 nm: la hoja se vuelve roja o púrpura.</source>
        <translation>Anthocyanins absorb in the green, near 550 nm: the leaf turns red or purple.</translation>
    </message>
    <message>
        <source>Pigmentos pardos (Cbrown)</source>
        <translation>Brown pigments (Cbrown)</translation>
    </message>
    <message>
        <source>sin unidad (0 a 1)</source>
        <translation>no unit (0 to 1)</translation>
    </message>
    <message>
        <source>Los pigmentos de la hoja que muere absorben en todo el visible y el comienzo del infrarrojo: la hoja se vuelve parda.</source>
        <translation>The pigments of a dying leaf absorb across the visible and the start of the infrared: the leaf turns brown.</translation>
    </message>
    <message>
        <source>Contenido de proteínas (Prot)</source>
        <translation>Protein content (Prot)</translation>
    </message>
    <message>
        <source>Las proteínas, que guardan el nitrógeno de la hoja, absorben en el infrarrojo medio, sobre todo hacia 2100-2200 nm.</source>
        <translation>Proteins, which hold the leaf&apos;s nitrogen, absorb in the shortwave infrared, above all near 2100-2200 nm.</translation>
    </message>
    <message>
        <source>Otros constituyentes de carbono (CBC)</source>
        <translation>Other carbon-based constituents (CBC)</translation>
    </message>
    <message>
        <source>Celulosa, lignina y azúcares: con las proteínas forman la materia seca y absorben en todo el infrarrojo medio.</source>
        <translation>Cellulose, lignin and sugars: with the proteins they make up the dry matter and absorb across the shortwave infrared.</translation>
    </message>
</context>
</TS>
