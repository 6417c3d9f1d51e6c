<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
<context>
    <name>AuditPanel</name>
    <message numerus="yes">
        <source>Set Audit: %n finding(s)</source>
        <translation>
            <numerusform>Set Audit: %n finding</numerusform>
            <numerusform>Set Audit: %n findings</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>BatchMode</name>
    <message numerus="yes">
        <source>%n of %1 files would be optimized. Optimize them with: %2</source>
        <translation>
            <numerusform>%n of %1 files would be optimized. Optimize it with: %2</numerusform>
            <numerusform>%n of %1 files would be optimized. Optimize them with: %2</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Nothing to report on %n files.</source>
        <translation>
            <numerusform>Nothing to report on %n file.</numerusform>
            <numerusform>Nothing to report on %n files.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ContactSheet</name>
    <message numerus="yes">
        <source>%n icon(s)</source>
        <translation>
            <numerusform>%n icon</numerusform>
            <numerusform>%n icons</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ContactSheetModel</name>
    <message numerus="yes">
        <source>Looks different after optimizing at this size (%n pixels changed).</source>
        <translation>
            <numerusform>Looks different after optimizing at this size (%n pixel changed).</numerusform>
            <numerusform>Looks different after optimizing at this size (%n pixels changed).</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>FileResults</name>
    <message numerus="yes">
        <source>%Ln files optimized</source>
        <translation>
            <numerusform>%Ln file optimized</numerusform>
            <numerusform>%Ln files optimized</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln failed</source>
        <translation>
            <numerusform>%Ln failed</numerusform>
            <numerusform>%Ln failed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln not run</source>
        <translation>
            <numerusform>%Ln not run</numerusform>
            <numerusform>%Ln not run</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln already optimal</source>
        <translation>
            <numerusform>%Ln already optimal</numerusform>
            <numerusform>%Ln already optimal</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln kept as they were</source>
        <translation>
            <numerusform>%Ln kept as it was</numerusform>
            <numerusform>%Ln kept as they were</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln pixel(s) changed at %1×%2 px.</source>
        <translation>
            <numerusform>%Ln pixel changed at %1×%2 px.</numerusform>
            <numerusform>%Ln pixels changed at %1×%2 px.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%1: %Ln files</source>
        <translation>
            <numerusform>%1: %Ln file</numerusform>
            <numerusform>%1: %Ln files</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Inspector</name>
    <message numerus="yes">
        <source>%n file(s) in “%1” will be replaced by the optimized ones.</source>
        <translation>
            <numerusform>%n file in “%1” will be replaced by the optimized one.</numerusform>
            <numerusform>%n files in “%1” will be replaced by the optimized ones.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>OptimizerRun</name>
    <message numerus="yes">
        <source>Optimized without %n of svgo&apos;s plugins</source>
        <translation>
            <numerusform>Optimized without %n of svgo&apos;s plugins</numerusform>
            <numerusform>Optimized without %n of svgo&apos;s plugins</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PluginSavings</name>
    <message numerus="yes">
        <source>svgo took longer than %n second(s) and was stopped.</source>
        <translation>
            <numerusform>svgo took longer than %n second and was stopped.</numerusform>
            <numerusform>svgo took longer than %n seconds and was stopped.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>PluginSavingsDialog</name>
    <message numerus="yes">
        <source>%Ln byte(s) (%1)</source>
        <translation>
            <numerusform>%Ln byte (%1)</numerusform>
            <numerusform>%Ln bytes (%1)</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%n plugin(s) changed nothing and are not listed.</source>
        <translation>
            <numerusform>%n plugin changed nothing and is not listed.</numerusform>
            <numerusform>%n plugins changed nothing and are not listed.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RestoreOriginals</name>
    <message numerus="yes">
        <source>%1 and %Ln more</source>
        <translation>
            <numerusform>%1 and %Ln more</numerusform>
            <numerusform>%1 and %Ln more</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Restore the originals of %Ln files?</source>
        <translation>
            <numerusform>Restore the original of %Ln file?</numerusform>
            <numerusform>Restore the originals of %Ln files?</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln originals restored.</source>
        <translation>
            <numerusform>%Ln original restored.</numerusform>
            <numerusform>%Ln originals restored.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>%Ln could not be restored.</source>
        <translation>
            <numerusform>%Ln could not be restored.</numerusform>
            <numerusform>%Ln could not be restored.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>ResultsSummary</name>
    <message numerus="yes">
        <source>%Ln files listed</source>
        <translation>
            <numerusform>%Ln file listed</numerusform>
            <numerusform>%Ln files listed</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>Originals kept for %Ln days: Edit ▸ Restore Originals</source>
        <translation>
            <numerusform>Originals kept for %Ln day: Edit ▸ Restore Originals</numerusform>
            <numerusform>Originals kept for %Ln days: Edit ▸ Restore Originals</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>RunProgress</name>
    <message numerus="yes">
        <source>%1 of %Ln files</source>
        <translation>
            <numerusform>%1 of %Ln file</numerusform>
            <numerusform>%1 of %Ln files</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>About %Ln min left</source>
        <translation>
            <numerusform>About %Ln min left</numerusform>
            <numerusform>About %Ln min left</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>SetAudit</name>
    <message numerus="yes">
        <source>After optimizing, the id “%1” is defined in %n files: inlined in one page they point at each other&apos;s parts.</source>
        <translation>
            <numerusform>After optimizing, the id “%1” is defined in %n file: inlined in one page they point at each other&apos;s parts.</numerusform>
            <numerusform>After optimizing, the id “%1” is defined in %n files: inlined in one page they point at each other&apos;s parts.</numerusform>
        </translation>
    </message>
    <message numerus="yes">
        <source>The id “%1” is defined in %n files: inlined in one page they point at each other&apos;s parts.</source>
        <translation>
            <numerusform>The id “%1” is defined in %n file: inlined in one page they point at each other&apos;s parts.</numerusform>
            <numerusform>The id “%1” is defined in %n files: inlined in one page they point at each other&apos;s parts.</numerusform>
        </translation>
    </message>
</context>
<context>
    <name>Utilities</name>
    <message numerus="yes">
        <source>The login shell did not answer within %n seconds; check your shell profile (.zprofile).</source>
        <translation>
            <numerusform>The login shell did not answer within %n second; check your shell profile (.zprofile).</numerusform>
            <numerusform>The login shell did not answer within %n seconds; check your shell profile (.zprofile).</numerusform>
        </translation>
    </message>
</context>
</TS>
