# The pump manual as HTML-like text: a table of contents made with _find,
# cross references followed with _followlink and _chasetogi, index keys
# and word counts from loops, related-topic lists read with _namelist.
# manual.esis is what "onsgmls -l manual.sgml" writes (chap3.sgml is an
# external entity of it).
GI: _Start
StartText: <!-- ${transpec} -->^
-
GI: _End
StartText: ${_find top gi XREF 13}
EndText: <!-- ${xrefs} cross references -->^
-
GI: MANUAL
StartText: <html id="${ID:l}" version="${VERSION}" source="${_infile}">^<h1>${_followrel child TITLE 1}</h1>^
	<p class="lead">Start with ${_id SETUP 20t}.</p>^<ul class="toc">${_find gi CHAPTER 2}^</ul>
EndText: ^</html>^
-
GI: TITLE
Context: MANUAL
Ignore: all
-
GI: TITLE
Context: CHAPTER
StartText: ^<h2>
EndText: </h2>
-
GI: TITLE
Context: SECTION
StartText: ^<h3 id="${_pattr ID}">
EndText: </h3>
-
GI: CHAPTER
StartText: ^<div class="chapter" id="${ID:l}"${_attval ROLE 4}>
EndText: ^</div>
-
GI: SECTION
StartText: ^<div class="section" id="${ID:l}">
EndText: ^</div>
-
GI: PARA
StartText: ^<p${_relation ancestor SECTION 14 15}>
EndText: </p>
-
GI: TERM
StartText: <em>
EndText: </em>${_eachatt KEYS 5 6}]
-
GI: XREF
StartText: <a href="#${LINKEND:l}" title="${_chasetogi TITLE 1}">${_followlink 20t}</a>
-
GI: FIGURE
StartText: ^<img src="${_filename}" alt="${_gi l} ${ID:l}">
-
GI: RELATED
Ignore: data
StartText: ^<p class="related">See also: ${_namelist 7 8}.</p>
-
GI: GLOSSARY
StartText: ^<dl>
EndText: ^</dl>
-
GI: GLOSS
Ignore: data
StartText: ^<dt id="${ID:l}">${_set words 0}${_eachcon 11}</dt>
EndText: <dd>${words} words</dd>
-
# Named actions.
GI: _title-text
SpecID: 1
Ignore: all
StartText: ${+content}
-
GI: _toc-entry
SpecID: 2
Ignore: all
StartText: ^<li><a href="#${ID:l}">${_followrel child TITLE 1}</a>
	(${_nchild SECTION} sections, ${_nchild} children)${_find gi SECTION 3}</li>
-
GI: _toc-section
SpecID: 3
Ignore: all
StartText: ^  <li><a href="#${ID:l}">${_followrel child TITLE 1}</a></li>
-
GI: _role
SpecID: 4
Ignore: all
StartText: \srole="${ROLE}"
-
GI: _first-key
SpecID: 5
Ignore: all
StartText: [index: ${each_A}
-
GI: _more-keys
SpecID: 6
Ignore: all
StartText: , ${_A}
-
GI: _first-related
SpecID: 7
Ignore: all
StartText: <a href="#${ID:l}">${_action 20t}</a>
-
GI: _more-related
SpecID: 8
Ignore: all
StartText: , <a href="#${ID:l}">${_action 20t}</a>
-
GI: _word
SpecID: 11
Ignore: all
StartText: [${each_C}]
Increment: words
-
GI: _count-xref
SpecID: 13
Ignore: all
Increment: xrefs
-
GI: _in-section
SpecID: 14
Ignore: all
StartText: \sclass="in-section"
-
GI: _in-chapter
SpecID: 15
Ignore: all
StartText: \sclass="in-chapter"
-
GI: _xref-titled
SpecID: 20
Relation: child TITLE
Ignore: all
StartText: ${_gi M} '${_followrel child TITLE 1}'
-
GI: _xref-other
SpecID: 20
Ignore: all
StartText: the ${_gi l} entry ${ID:l}
-
