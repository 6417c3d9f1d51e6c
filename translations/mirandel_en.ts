<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="en">
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
</TS>
