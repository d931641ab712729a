{ Linear search: the statement part comes from search.fgd. }
program SearchDemo;

type
  TList = array[1..8] of Integer;

function Find(const a: TList; n, x: Integer): Integer;
var
  i: Integer;
{$I search.inc}

const
  Data: TList = (5, 3, 9, 1, 7, 3, 8, 2);
begin
  WriteLn(Find(Data, 8, 9), ' ', Find(Data, 8, 3), ' ', Find(Data, 8, 2), ' ',
    Find(Data, 8, 4), ' ', Find(Data, 5, 8), ' ', Find(Data, 0, 5));
end.
