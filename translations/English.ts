<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>MainWindow</name>
    <message>
        <source>Data decoding</source>
        <translation>Data decoding</translation>
    </message>
</context>
</TS>
