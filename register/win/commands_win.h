#pragma once
// The register's commands, each started by one event of Form1. Every command
// that changes a record ends with form.ReloadRecords().
class Form1;

void AddFileEntry(Form1& form);      // click on BtnAddFile
void AddLinkEntry(Form1& form);      // click on BtnAddLink
void ModifyDescription(Form1& form); // click on BtnModifica
void DeleteEntry(Form1& form);       // click on BtnElimina
void SelectRow(Form1& form);         // click on Fgrid (the clicked cell is current)
void OpenEntry(Form1& form);         // double click on Fgrid
