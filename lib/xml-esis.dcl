<!SGML "ISO 8879:1986 (WWW)"
  -- SGML declaration for reading XML documents with onsgmls for qlx.

     An XML document parsed under the stock XML declaration comes out of
     onsgmls with lower-case element and attribute names and with two
     record ends for every line end of its data, so a translation spec
     written for the SGML form of a DTD (upper-case names, one record end
     per line) matches nothing in it.  This declaration is the XML
     declaration of the Web SGML adaptations with two changes:

       NAMECASE GENERAL YES  element, attribute and notation names, and
                             the values of name-token attributes (ID,
                             IDREF, enumerations), are folded to upper
                             case, as the reference concrete syntax does;
                             entity names keep their case, as XML wants;
       KEEPRSRE NO           the record-end rules of SGML apply: a line end
                             inside data is one record end in ESIS,
                             and the line ends next to tags are dropped.

     Name characters follow XML 1.0 (fifth edition), within the Basic
     Multilingual Plane, the characters that onsgmls keeps.  Use it by naming it
     before the document:

       SP_CHARSET_FIXED=YES SP_ENCODING=XML
         onsgmls -wxml LIBDIR/xml-esis.dcl doc.xml | qlx -t spec.ts

     where LIBDIR is the qlx library directory.
  --

  CHARSET
    BASESET  "ISO Registration Number 177//CHARSET
              ISO/IEC 10646-1:1993 UCS-4 with implementation
              level 3//ESC 2/5 2/15 4/6"
    DESCSET
             0        9  UNUSED  -- C0 controls but TAB, LF and CR --
             9        2       9
            11        2  UNUSED
            13        1      13
            14       18  UNUSED
            32       95      32  -- printable ASCII --
           127        1  UNUSED  -- DEL --
           128       32  UNUSED  -- C1 controls --
           160    55136     160
         55296     2048  UNUSED  -- surrogates --
         57344     8190   57344
         65534        2  UNUSED  -- U+FFFE and U+FFFF --
         65536  1048576   65536  -- the planes above the BMP --

  CAPACITY NONE

  SCOPE DOCUMENT

  SYNTAX
    SHUNCHAR NONE
    BASESET  "ISO Registration Number 177//CHARSET
              ISO/IEC 10646-1:1993 UCS-4 with implementation
              level 3//ESC 2/5 2/15 4/6"
    DESCSET  0 1114112 0
    FUNCTION
      RE     13
      RS     10
      SPACE  32
      TAB    SEPCHAR 9
    NAMING
      LCNMSTRT ""
      UCNMSTRT ""
      NAMESTRT 58 95 192-214 216-246 248-767 880-893 895-8191
               8204-8205 8304-8591 11264-12271 12289-55295
               63744-64975 65008-65533
      LCNMCHAR ""
      UCNMCHAR ""
      NAMECHAR 45-46 183 768-879 8255-8256
      NAMECASE
        GENERAL YES
        ENTITY  NO
    DELIM
      GENERAL  SGMLREF
      HCRO     "&#38;#x"  -- hexadecimal character references: &#x --
      NESTC    "/"
      NET      ">"
      PIC      "?>"
      SHORTREF NONE
    NAMES    SGMLREF
    QUANTITY NONE
    ENTITIES
      "amp"  38
      "lt"   60
      "gt"   62
      "quot" 34
      "apos" 39

  FEATURES
    MINIMIZE
      DATATAG NO
      OMITTAG NO
      RANK    NO
      SHORTTAG
        STARTTAG
          EMPTY    NO
          UNCLOSED NO
          NETENABL IMMEDNET
        ENDTAG
          EMPTY    NO
          UNCLOSED NO
        ATTRIB
          DEFAULT  YES
          OMITNAME NO
          VALUE    NO
      EMPTYNRM  YES
      IMPLYDEF
        ATTLIST  NO
        DOCTYPE  NO
        ELEMENT  NO
        ENTITY   NO
        NOTATION NO
    LINK
      SIMPLE   NO
      IMPLICIT NO
      EXPLICIT NO
    OTHER
      CONCUR   NO
      SUBDOC   NO
      FORMAL   NO
      URN      NO
      KEEPRSRE NO
      VALIDITY TYPE
      ENTITIES
        REF      ANY
        INTEGRAL YES

  APPINFO NONE
>
